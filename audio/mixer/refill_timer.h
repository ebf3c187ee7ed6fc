// refill_timer: calls one function every few milliseconds on a thread of its
// own, until stopped.
//
// The next call is timed from the end of the previous one, so the cadence is
// the period plus the time the call takes and calls never overlap.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace vantrel {

class refill_timer {
public:
    using tick_fn = void (*)(void* user);

    refill_timer() = default;
    refill_timer(const refill_timer&) = delete;
    refill_timer& operator=(const refill_timer&) = delete;
    ~refill_timer() { stop(); }

    // Starts ticking; a timer already running is stopped first.
    void start(tick_fn fn, void* user, int32_t period_ms);
    // Stops ticking and waits for a tick in progress; safe to call twice.
    void stop();
    bool running() const { return thread_.joinable(); }

private:
    void run(tick_fn fn, void* user, int32_t period_ms);

    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace vantrel
