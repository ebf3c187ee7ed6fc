#include "pass_schedule.h"

namespace vantrel::web {
namespace {

constexpr int32_t HERTZ = 60;
constexpr int32_t MS_PER_PASS = 1000 / HERTZ;
constexpr int32_t REMAINDER = 1000 - MS_PER_PASS * HERTZ;

} // namespace

bool PassSchedule::take(double now_ms)
{
    if (now_ms < next_ - EARLY_MS)
        return false;
    if (now_ms - next_ > STALL_MS)
        next_ = now_ms;
    // The desktop's steps: 16 ms, and one more whenever the remainder adds
    // up to a whole millisecond (16, 17, 17, ...).
    next_ += MS_PER_PASS;
    remainder_ += REMAINDER;
    if (remainder_ >= HERTZ) {
        remainder_ -= HERTZ;
        next_ += 1;
    }
    return true;
}

} // namespace vantrel::web
