// Frame pacing with the real clock: 600 light frames (a clear) through
// flip_frame(-1) in a 640 x 480 window. Reports the mean interval between
// frames and how far each frame's wake-up lies from its scheduled time.
//   SDL_VIDEODRIVER=x11 GALLIUM_DRIVER=llvmpipe xvfb-run -a ./gfx_pacing [frames] [aligned]
// "aligned" replaces the system sleep by one that ends on a millisecond
// boundary, to show what the clock's rounding costs.
#include "gfx/gl/gl_backend.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "input/clock.h"
#include "input/system_driver.h"
#include "platform/clock_source.h"

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace vantrel;

namespace {

// The system clock, noting when each sleep ends. With aligned set, a sleep
// of n ms ends when the millisecond counter has moved on by n (as a sleep
// on a 1 ms timer tick does) instead of n ms after the call.
class WakeRecorder final : public platform::ClockSource {
public:
    WakeRecorder(platform::ClockSource& real, bool aligned) : real_(real), aligned_(aligned) {}
    uint32_t now_ms() override { return real_.now_ms(); }
    void sleep_ms(int32_t ms) override
    {
        if (aligned_) {
            const auto now = std::chrono::steady_clock::now();
            std::this_thread::sleep_until(
                std::chrono::floor<std::chrono::milliseconds>(now) + std::chrono::milliseconds(ms));
        } else {
            real_.sleep_ms(ms);
        }
        woke_us = platform::monotonic_us();
        slept = true;
    }
    uint64_t woke_us = 0;
    bool slept = false;

private:
    platform::ClockSource& real_;
    bool aligned_;
};

// The real time at which the millisecond clock reaches `scheduled`.
double scheduled_us(uint64_t now_us, int32_t scheduled)
{
    const auto now_ms = static_cast<int64_t>(now_us / 1000);
    return static_cast<double>(now_ms + elapsed_ms(static_cast<int32_t>(now_ms), scheduled)) * 1000.0;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::atoi(argv[1]) : 600;
    gl_backend_init();
    graphics_init();
    system_driver_init();
    select_display_driver(gl_graphics_driver(), GFX_BACK_BUFFER);
    const bool aligned = argc > 2 && std::string(argv[2]) == "aligned";
    WakeRecorder clock(platform::clock_source(), aligned);
    platform::set_clock_source(&clock);
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no graphics: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    std::vector<double> wake_us, error_us;
    int unslept = 0;
    for (int i = 0; i < frames; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        pump_messages();
        clock.slept = false;
        const uint64_t entered = platform::monotonic_us();
        flip_frame(-1);
        const uint64_t woke = clock.slept ? clock.woke_us : entered;
        unslept += clock.slept ? 0 : 1;
        wake_us.push_back(static_cast<double>(woke));
        // next_frame_time is this frame's schedule until the next flip.
        const double due = scheduled_us(woke, frame_pacing().next_frame_time);
        error_us.push_back(std::fabs(static_cast<double>(woke) - due));
    }
    const double mean_ms = (wake_us.back() - wake_us.front()) / (frames - 1) / 1000.0;
    std::printf("frames %d (%s sleep), frames that did not sleep %d\n", frames,
                aligned ? "millisecond-aligned" : "system", unslept);
    std::printf("mean interval %.4f ms (target %.4f)\n", mean_ms, 1000.0 / 60.0);
    std::printf("|wake - scheduled|: p50 %.3f ms, p99 %.3f ms, max %.3f ms\n",
                percentile(error_us, 0.5) / 1000, percentile(error_us, 0.99) / 1000,
                percentile(error_us, 1.0) / 1000);
    close_opened_graphics();
    platform::set_clock_source(nullptr);
    return 0;
}
