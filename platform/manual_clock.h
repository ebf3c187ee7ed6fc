// A clock double for tests: time moves only when the test advances it or
// when code sleeps, so paced loops run at full speed and deterministically.
#pragma once

#include "platform/clock_source.h"

#include <atomic>
#include <vector>

namespace vantrel::platform {

class ManualClock final : public ClockSource {
public:
    explicit ManualClock(uint32_t start_ms = 100000) : now_(start_ms) {}

    uint32_t now_ms() override { return now_.load(std::memory_order_relaxed); }
    void sleep_ms(int32_t ms) override
    {
        sleeps.push_back(ms);
        if (ms > 0)
            advance(static_cast<uint32_t>(ms));
    }
    void advance(uint32_t ms) { now_.fetch_add(ms, std::memory_order_relaxed); }
    void set(uint32_t ms) { now_.store(ms, std::memory_order_relaxed); }

    std::vector<int32_t> sleeps; // every sleep requested, main thread only

private:
    std::atomic<uint32_t> now_;
};

// Installs a clock for the lifetime of a scope.
class ScopedClock {
public:
    explicit ScopedClock(ClockSource& source) { set_clock_source(&source); }
    ~ScopedClock() { set_clock_source(nullptr); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;
};

} // namespace vantrel::platform
