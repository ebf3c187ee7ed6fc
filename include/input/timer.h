// Periodic timers: a TTimer counts ticks at a rate in Hz on a thread of its
// own and raises TimerTick events on the main thread.
//
// The events come out of the system driver's poll, like the window's: each
// poll that finds new ticks of a running timer emits one TimerTick through
// the event hook, with the timer as source and its tick count as data. The
// queue keeps one TimerTick per timer, brought up to date, so a slow reader
// sees the latest count rather than a backlog. Main thread only, except
// ticks(), which any thread may read.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <memory>

namespace vantrel {

namespace platform {
class PeriodicTicker;
}

class TTimer final : public TObject {
public:
    // Starts at once; create_timer says which rates are refused.
    explicit TTimer(double hz);
    ~TTimer() override;

    double rate() const { return hz_; }
    // Ticks counted since the timer started.
    int32_t ticks() const;
    // Blocks until the timer ticks, unless it already ticked since the last
    // wait; returns the ticks since the last wait, or 0 at once when the
    // timer is stopped.
    int32_t wait();
    // Stops counting; no further events. Dropping the last reference stops
    // it too.
    void stop();
    bool running() const;

    // Emits a TimerTick when ticks arrived since the last one (the poll's
    // duty; tests call it directly).
    void deliver();

    Text to_string() const override;

private:
    double hz_;
    std::unique_ptr<platform::PeriodicTicker> ticker_;
    uint64_t waited_ = 0;
    uint64_t delivered_ = 0;
};

constexpr double TIMER_MAX_HZ = 1000.0;

// A running timer at hz ticks a second. A rate of 0 or below, above
// TIMER_MAX_HZ or not a number raises a runtime error.
Ref<TTimer> create_timer(double hz);

// Emits the pending TimerTick of every running timer; the system driver's
// poll calls it.
void deliver_timer_ticks();

} // namespace vantrel
