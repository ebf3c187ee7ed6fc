#include "input/events.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

int polls = 0;
void count_poll() { ++polls; }

// Drains whatever earlier tests queued.
void drain()
{
    set_system_poll(nullptr);
    while (next_queued_event() != 0) {
    }
}

} // namespace

TEST(EventText, NamedKindsAndUnknownIds)
{
    auto key = new_event(EVENT_KEY_DOWN, {}, 27, 0, 0, 0, {});
    EXPECT_EQ(key->to_string(), Text(u"KeyDown: data=27, mods=0, x=0, y=0, extra=\"\""));

    auto odd = make_ref<TEvent>();
    odd->id = 1;
    EXPECT_EQ(odd->to_string(), Text(u"Unknown Event, id=1: data=0, mods=0, x=0, y=0, extra=\"\""));

    auto moved = new_event(EVENT_MOUSE_MOVE, {}, -1, 3, -20, 480, Text(u"hi").object());
    EXPECT_EQ(moved->to_string(),
              Text(u"MouseMove: data=-1, mods=3, x=-20, y=480, extra=\"hi\""));
    EXPECT_EQ(event_name(EVENT_MENU_ACTION), Text(u"MenuAction"));
    EXPECT_EQ(event_name(EVENT_WINDOW_ACCEPT), Text(u"WindowAccept"));
}

TEST(EventQueue, SentEventsAreQueuedInOrder)
{
    events_init();
    drain();
    send_event(new_event(EVENT_KEY_DOWN, {}, 90, 0, 0, 0, {}));
    send_event(new_event(EVENT_KEY_UP, {}, 90, 0, 0, 0, Text(u"t").object()));
    EXPECT_EQ(peek_queued_event()->data, 90);
    EXPECT_EQ(next_queued_event(), EVENT_KEY_DOWN);
    EXPECT_EQ(next_queued_event(), EVENT_KEY_UP);
    EXPECT_EQ(last_taken_event_text(), Text(u"t"));
    EXPECT_EQ(next_queued_event(), 0);
    EXPECT_EQ(last_taken_event()->id, 0);
    EXPECT_FALSE(peek_queued_event());
}

TEST(EventQueue, UpdatesQueuedWindowSizeInPlace)
{
    events_init();
    drain();
    auto source = make_ref<TEvent>();
    send_event(new_event(EVENT_WINDOW_SIZE, source, 1, 0, 100, 200, {}));
    send_event(new_event(EVENT_KEY_DOWN, {}, 65, 0, 0, 0, {}));
    send_event(new_event(EVENT_WINDOW_SIZE, source, 2, 0, 300, 400, {}));
    send_event(new_event(EVENT_WINDOW_SIZE, {}, 3, 0, 0, 0, {})); // other source
    EXPECT_EQ(next_queued_event(), EVENT_WINDOW_SIZE);
    EXPECT_EQ(last_taken_event()->data, 2);
    EXPECT_EQ(last_taken_event()->x, 300);
    EXPECT_EQ(next_queued_event(), EVENT_KEY_DOWN);
    EXPECT_EQ(next_queued_event(), EVENT_WINDOW_SIZE);
    EXPECT_EQ(last_taken_event()->data, 3);
    EXPECT_EQ(next_queued_event(), 0);
}

TEST(EventQueue, FullQueueDropsFurtherEvents)
{
    events_init();
    drain();
    for (int i = 0; i < EVENT_QUEUE_SIZE + 5; ++i)
        queue_event(new_event(EVENT_KEY_CHAR, {}, i, 0, 0, 0, {}), false);
    int taken = 0;
    while (next_queued_event() != 0) {
        EXPECT_EQ(last_taken_event()->data, taken);
        ++taken;
    }
    EXPECT_EQ(taken, EVENT_QUEUE_SIZE);
}

TEST(EventQueue, PollsTheSystemOnceWhenEmpty)
{
    events_init();
    drain();
    polls = 0;
    set_system_poll(count_poll);
    EXPECT_EQ(next_queued_event(), 0);
    EXPECT_EQ(polls, 1);
    send_event(new_event(EVENT_KEY_DOWN, {}, 1, 0, 0, 0, {}));
    EXPECT_EQ(next_queued_event(), EVENT_KEY_DOWN);
    EXPECT_EQ(polls, 1);
    set_system_poll(nullptr);
}

namespace {
int waits = 0;
// The system's wait: the second call delivers a key press.
void deliver_on_second_wait()
{
    if (++waits == 2)
        queue_event(new_event(EVENT_KEY_DOWN, {}, 65, 0, 0, 0, {}), false);
}
} // namespace

TEST(EventQueue, WaitReturnsAQueuedEventWhoseIdIsZero)
{
    events_init();
    drain();
    queue_event(new_event(0, {}, 11, 0, 0, 0, {}), false);
    queue_event(new_event(EVENT_KEY_UP, {}, 12, 0, 0, 0, {}), false);
    EXPECT_EQ(wait_queued_event(), 0);
    EXPECT_EQ(last_taken_event()->data, 11);
    EXPECT_EQ(wait_queued_event(), EVENT_KEY_UP);
    EXPECT_EQ(last_taken_event()->data, 12);
    // An empty queue waits for the system until something is queued.
    waits = 0;
    set_system_wait(&deliver_on_second_wait);
    EXPECT_EQ(wait_queued_event(), EVENT_KEY_DOWN);
    EXPECT_EQ(waits, 2);
    EXPECT_EQ(last_taken_event()->data, 65);
    set_system_wait(nullptr);
}
