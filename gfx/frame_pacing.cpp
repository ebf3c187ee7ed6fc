#include "gfx/frame_pacing.h"

#include "gfx/gfx_state.h"
#include "input/clock.h"

namespace vantrel {
namespace {

FramePacing& pacing() { return gfx_state().pacing; }

// a + b on the wrapping millisecond counter.
int32_t add_ms(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Whether flip(1) already takes 1000 / hertz ms, three times in a row,
// within one second of trying.
bool hardware_keeps_rate(TDisplayDriver& driver, int32_t hertz)
{
    const int32_t start = clock_ms();
    int32_t hits = 0;
    while (elapsed_ms(start, clock_ms()) < 1000) {
        const int32_t t0 = clock_ms();
        driver.flip(1);
        const int32_t error = elapsed_ms(t0, clock_ms()) - 1000 / hertz;
        hits = (error >= -1 && error <= 1) ? hits + 1 : 0;
        if (hits == 3)
            return true;
    }
    return false;
}

} // namespace

void start_frame_pacing(TDisplayDriver& driver, int32_t depth, int32_t hertz)
{
    // A negative rate has no schedule to keep; it paces like 0.
    if (hertz < 0)
        hertz = 0;
    FramePacing& p = pacing();
    p.soft_sync = 1;
    if (hertz == 0)
        p.soft_sync = 0;
    else if (depth != 0 && hardware_keeps_rate(driver, hertz))
        p.soft_sync = 0;
    p.hertz = hertz;
    p.ms_per_frame = hertz != 0 ? 1000 / hertz : 0;
    p.remainder = 1000 - p.ms_per_frame * hertz;
    p.accumulator = 0;
    p.next_frame_time = clock_ms();
}

void wait_for_next_frame()
{
    FramePacing& p = pacing();
    p.next_frame_time = add_ms(p.next_frame_time, p.ms_per_frame);
    p.accumulator += p.remainder;
    if (p.accumulator >= p.hertz) {
        p.accumulator -= p.hertz;
        p.next_frame_time = add_ms(p.next_frame_time, 1);
    }
    const int32_t wait = elapsed_ms(clock_ms(), p.next_frame_time);
    if (wait > 0)
        delay(wait);
    else
        p.next_frame_time = clock_ms();
}

FramePacing frame_pacing() { return pacing(); }

} // namespace vantrel
