#include "input/clock.h"

#include "platform/clock_source.h"

namespace vantrel {

int32_t clock_ms()
{
    return static_cast<int32_t>(platform::clock_source().now_ms());
}

void delay(int32_t ms)
{
    if (ms >= 0)
        platform::clock_source().sleep_ms(ms);
}

} // namespace vantrel
