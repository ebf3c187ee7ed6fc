// The refill thread.
#include "audio/mixer/refill_timer.h"

#include <chrono>

namespace vantrel {

void refill_timer::start(tick_fn fn, void* user, int32_t period_ms)
{
    stop();
    stop_.store(false, std::memory_order_relaxed);
    thread_ = std::thread(&refill_timer::run, this, fn, user, period_ms);
}

void refill_timer::stop()
{
    if (!thread_.joinable())
        return;
    stop_.store(true, std::memory_order_relaxed);
    thread_.join();
}

void refill_timer::run(tick_fn fn, void* user, int32_t period_ms)
{
    const auto period = std::chrono::milliseconds(period_ms);
    while (!stop_.load(std::memory_order_relaxed)) {
        std::this_thread::sleep_for(period);
        if (stop_.load(std::memory_order_relaxed))
            break;
        fn(user);
    }
}

} // namespace vantrel
