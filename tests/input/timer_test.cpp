#include "input/timer.h"

#include "core/error.h"
#include "input/events.h"
#include "input/hooks.h"
#include "input/input_state.h"
#include "input/system_driver.h"
#include "platform/periodic_ticker.h"
#include "platform/scripted_pump.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

using namespace vantrel;

namespace {

std::vector<Ref<TEvent>> hooked;
std::vector<int32_t> hooked_data; // as raised: the queue updates its event in place

Ref<TObject> record_tick(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    if (auto event = ref_cast<TEvent>(data); event && event->id == EVENT_TIMER_TICK)
{
        hooked.push_back(event);
        hooked_data.push_back(event->data);
    }
    return data;
}

Text refusal(double hz)
{
    try {
        create_timer(hz);
    } catch (const TRuntimeError& e) {
        return e.message();
    }
    return Text(u"accepted");
}

class Timers : public ::testing::Test {
protected:
    void SetUp() override
    {
        events_init();
        system_driver_init();
        set_message_pump(&pump);
        attach_hook(EVENT_HOOK, &record_tick, nullptr, 100);
        hooked.clear();
        hooked_data.clear();
    }
    void TearDown() override
    {
        hooked.clear();
        input_state().reset();
    }

    platform::ScriptedPump pump;
};

} // namespace

TEST(TimerRate, OutsideOneToAThousandHzIsRefused)
{
    const Text message(u"Timer rate must be above 0 and at most 1000 Hz");
    EXPECT_EQ(refusal(0.0), message);
    EXPECT_EQ(refusal(-5.0), message);
    EXPECT_EQ(refusal(1000.5), message);
    EXPECT_EQ(refusal(std::numeric_limits<double>::quiet_NaN()), message);
    EXPECT_EQ(refusal(std::numeric_limits<double>::infinity()), message);
    EXPECT_EQ(refusal(1000.0), Text(u"accepted"));
    EXPECT_EQ(refusal(0.5), Text(u"accepted"));
}

TEST_F(Timers, WaitReturnsTheTicksSinceTheLastWait)
{
    Ref<TTimer> timer = create_timer(500.0);
    EXPECT_TRUE(timer->running());
    EXPECT_DOUBLE_EQ(timer->rate(), 500.0);
    int32_t total = 0;
    for (int i = 0; i < 5; ++i) {
        const int32_t since = timer->wait();
        EXPECT_GE(since, 1);
        total += since;
    }
    EXPECT_GE(timer->ticks(), total);
    EXPECT_GE(total, 5);
}

TEST_F(Timers, NeverCountsAheadOfTheClock)
{
    const auto start = std::chrono::steady_clock::now();
    Ref<TTimer> timer = create_timer(1000.0);
    while (timer->ticks() < 20)
        timer->wait();
    const int32_t ticks = timer->ticks();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double allowed = std::chrono::duration<double>(elapsed).count() * 1000.0;
    EXPECT_LE(ticks, static_cast<int32_t>(std::floor(allowed)) + 1);
}

TEST_F(Timers, PollRaisesOneTickEventThroughTheHookAndQueue)
{
    Ref<TTimer> timer = create_timer(400.0);
    timer->wait();
    pump_messages();
    ASSERT_EQ(hooked.size(), 1u);
    EXPECT_TRUE(same_object(hooked[0]->source, timer));
    EXPECT_GE(hooked[0]->data, 1);
    EXPECT_LE(hooked[0]->data, timer->ticks());
    EXPECT_EQ(next_queued_event(), EVENT_TIMER_TICK);
    EXPECT_TRUE(same_object(last_taken_event()->source, timer));
    EXPECT_EQ(last_taken_event()->to_string().view().substr(0, 15), u"TimerTick: data");
}

TEST_F(Timers, QueuedTickIsBroughtUpToDate)
{
    Ref<TTimer> timer = create_timer(500.0);
    timer->wait();
    pump_messages();
    ASSERT_EQ(hooked_data.size(), 1u);
    while (timer->ticks() <= hooked_data[0])
        timer->wait();
    pump_messages();
    timer->stop();
    ASSERT_EQ(hooked_data.size(), 2u);
    EXPECT_GT(hooked_data[1], hooked_data[0]);
    EXPECT_EQ(next_queued_event(), EVENT_TIMER_TICK);
    EXPECT_EQ(last_taken_event()->data, hooked_data[1]);
    EXPECT_EQ(next_queued_event(), 0);
}

TEST_F(Timers, NoNewTicksNoEvent)
{
    Ref<TTimer> timer = create_timer(0.5); // two seconds a tick
    pump_messages();
    pump_messages();
    EXPECT_TRUE(hooked.empty());
    EXPECT_EQ(next_queued_event(), 0);
}

TEST_F(Timers, StoppedTimerNeitherWaitsNorRaises)
{
    Ref<TTimer> timer = create_timer(1000.0);
    timer->wait();
    timer->stop();
    timer->stop();
    EXPECT_FALSE(timer->running());
    const int32_t ticks = timer->ticks();
    EXPECT_EQ(timer->wait(), 0);
    pump_messages();
    EXPECT_TRUE(hooked.empty());
    EXPECT_EQ(timer->ticks(), ticks);
}

TEST_F(Timers, DroppingTheLastReferenceStopsIt)
{
    create_timer(1000.0)->wait();
    EXPECT_TRUE(input_state().timers.running.empty());
    pump_messages();
    EXPECT_TRUE(hooked.empty());
}

namespace {
Ref<TTimer> held;
Ref<TObject> drop_timer(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    held = {};
    return data;
}
} // namespace

TEST_F(Timers, HookMayDropTheTimerItIsTold)
{
    held = create_timer(1000.0);
    Ref<TTimer> other = create_timer(1000.0);
    attach_hook(EVENT_HOOK, &drop_timer, nullptr, 50);
    held->wait();
    other->wait();
    pump_messages();
    EXPECT_TRUE(held.is_null());
    EXPECT_EQ(hooked.size(), 2u);
    // Its event still holds it; once that goes, so does the timer.
    hooked.clear();
    while (next_queued_event() != 0) {
    }
    EXPECT_EQ(input_state().timers.running.size(), 1u);
}

TEST_F(Timers, TicksWakeAWaitingPump)
{
    struct WakeCounter final : platform::MessagePump {
        bool poll(platform::OSMessage&) override { return false; }
        void wait() override {}
        void wake() override { ++wakes; }
        std::atomic<int> wakes{0};
    };
    WakeCounter counter;
    platform::PeriodicTicker ticker;
    ticker.start(1000.0, [](void* target) { static_cast<platform::MessagePump*>(target)->wake(); },
                 &counter);
    EXPECT_GE(ticker.wait_beyond(3), 4u);
    ticker.stop(); // joined: every wake has happened
    // One wake per counting step; a late step counts several ticks at once.
    EXPECT_GE(counter.wakes.load(), 1);
    EXPECT_LE(static_cast<uint64_t>(counter.wakes.load()), ticker.ticks());
    EXPECT_FALSE(ticker.running());
    EXPECT_EQ(ticker.wait_beyond(ticker.ticks()), ticker.ticks()); // stopped: no block
}
