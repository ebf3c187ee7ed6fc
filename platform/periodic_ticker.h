// A thread that counts ticks at a fixed rate until stopped.
//
// Ticks keep to the grid laid down at start: a tick that comes late does not
// push the later ones back, and ticks missed while the thread was not
// scheduled are counted when it runs again. The count may be read and waited
// on from any thread; start and stop belong to the thread that owns the
// ticker.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace vantrel::platform {

class PeriodicTicker {
public:
    // Called on the ticker's thread after each count, outside its lock.
    using wake_fn = void (*)(void* user);

    PeriodicTicker() = default;
    PeriodicTicker(const PeriodicTicker&) = delete;
    PeriodicTicker& operator=(const PeriodicTicker&) = delete;
    ~PeriodicTicker() { stop(); }

    // Starts counting from 0, hz ticks a second (hz > 0); a running ticker is
    // stopped first.
    void start(double hz, wake_fn wake, void* user);
    // Stops and joins the thread; waiters return. Safe to call twice.
    void stop();
    bool running() const { return thread_.joinable(); }

    uint64_t ticks() const { return ticks_.load(std::memory_order_acquire); }
    // Blocks until more than seen ticks were counted or the ticker stops;
    // returns the count then.
    uint64_t wait_beyond(uint64_t seen);

private:
    void run(int64_t period_ns, wake_fn wake, void* user);

    std::mutex mutex_;
    std::condition_variable changed_;
    bool active_ = false; // from start to stop; guarded by mutex_
    std::atomic<uint64_t> ticks_{0};
    std::thread thread_;
};

} // namespace vantrel::platform
