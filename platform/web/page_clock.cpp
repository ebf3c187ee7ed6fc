#include "page_clock.h"

#include <emscripten.h>

#include <cmath>

namespace vantrel::web {
namespace {

EM_JS(double, epoch_at_time_origin, (), { return performance.timeOrigin; });

} // namespace

double page_now_ms() { return emscripten_get_now(); }

uint32_t PageClock::now_ms()
{
    static const double origin = epoch_at_time_origin();
    const double ms = std::floor(origin + page_now_ms());
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

void PageClock::sleep_ms(int32_t ms)
{
    const double until = page_now_ms() + ms;
    while (page_now_ms() < until) {
    }
}

} // namespace vantrel::web
