#include "platform/clock_source.h"

#include "platform/platform_state.h"

#include <chrono>
#include <thread>

namespace vantrel::platform {
namespace {

class SystemClock final : public ClockSource {
public:
    uint32_t now_ms() override
    {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<uint32_t>(ms.count());
    }
    // Wakes at a millisecond boundary, the way a 1 ms system timer tick
    // would: the counter reads exactly n more on return, so frame pacing
    // lands on its schedule instead of up to a millisecond late. Windows'
    // sleeps can end a little before the deadline, hence the loop.
    void sleep_ms(int32_t ms) override
    {
        auto now = std::chrono::steady_clock::now();
        const auto deadline = std::chrono::floor<std::chrono::milliseconds>(now) + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_until(deadline);
    }
};

SystemClock system_clock;

} // namespace

ClockSource& clock_source()
{
    ClockSource* source = platform_state().clock.load(std::memory_order_acquire);
    return source ? *source : system_clock;
}

void set_clock_source(ClockSource* source)
{
    platform_state().clock.store(source, std::memory_order_release);
}

uint64_t monotonic_us()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch()).count());
}

} // namespace vantrel::platform
