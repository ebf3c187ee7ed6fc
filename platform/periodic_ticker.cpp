#include "platform/periodic_ticker.h"

#include <chrono>

namespace vantrel::platform {

using Clock = std::chrono::steady_clock;

void PeriodicTicker::start(double hz, wake_fn wake, void* user)
{
    stop();
    {
        std::lock_guard lock(mutex_);
        active_ = true;
    }
    ticks_.store(0, std::memory_order_release);
    const auto period_ns = static_cast<int64_t>(1e9 / hz);
    thread_ = std::thread(&PeriodicTicker::run, this, period_ns < 1 ? 1 : period_ns, wake, user);
}

void PeriodicTicker::stop()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        active_ = false;
    }
    changed_.notify_all();
    thread_.join();
}

uint64_t PeriodicTicker::wait_beyond(uint64_t seen)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !active_ || ticks() > seen; });
    return ticks();
}

void PeriodicTicker::run(int64_t period_ns, wake_fn wake, void* user)
{
    const std::chrono::nanoseconds period(period_ns);
    const Clock::time_point start = Clock::now();
    uint64_t due = 1; // the grid point the next tick waits for
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (changed_.wait_until(lock, start + period * due, [&] { return !active_; }))
                return;
            // Late by whole periods: those ticks happened too.
            const uint64_t reached = static_cast<uint64_t>((Clock::now() - start) / period);
            const uint64_t counted = reached > due ? reached : due;
            ticks_.store(counted, std::memory_order_release);
            due = counted + 1;
        }
        changed_.notify_all();
        if (wake)
            wake(user);
    }
}

} // namespace vantrel::platform
