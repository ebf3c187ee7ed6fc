// Polled input and the system driver's translation, driven by a scripted
// message pump: hit counts, repeats, focus changes, close requests, wheel
// steps, modifiers, pointer tracking and the pump's re-entry guard.
#include "input/events.h"
#include "input/input_state.h"
#include "input/keycodes.h"
#include "input/mouse_tracking.h"
#include "input/polled_input.h"
#include "input/system_driver.h"
#include "platform/scripted_pump.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrel;
using platform::MessageKind;
using platform::OSMessage;

namespace {

constexpr uint32_t OUR_WINDOW = 7;

bool test_window_procedure(const OSMessage& m)
{
    if (m.window != OUR_WINDOW)
        return false;
    send_os_event(m, nullptr);
    return true;
}

std::vector<Ref<TEvent>> seen;

Ref<TObject> record_event(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    if (const Ref<TEvent> e = ref_cast<TEvent>(data))
        seen.push_back(e);
    return data;
}

OSMessage key(MessageKind kind, int32_t code, bool repeat = false, int32_t mods = 0)
{
    OSMessage m;
    m.kind = kind;
    m.window = OUR_WINDOW;
    m.key = code;
    m.repeat = repeat;
    m.mods = mods;
    return m;
}

OSMessage plain(MessageKind kind)
{
    OSMessage m;
    m.kind = kind;
    m.window = OUR_WINDOW;
    return m;
}

OSMessage motion(int32_t x, int32_t y, int32_t buttons = 0)
{
    OSMessage m = plain(MessageKind::Motion);
    m.x = x;
    m.y = y;
    m.buttons = buttons;
    m.client_width = 640;
    m.client_height = 480;
    return m;
}

class PolledInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        system_driver_init();
        set_message_pump(&pump);
        add_window_procedure(&test_window_procedure);
        attach_hook(EVENT_HOOK, &record_event, nullptr, 100);
        start_input_polling(nullptr);
        seen.clear();
    }
    void TearDown() override
    {
        input_state().reset();
        pump.pending.clear();
    }
    void press(int32_t code)
    {
        pump.push(key(MessageKind::KeyDown, code));
        pump.push(key(MessageKind::KeyUp, code));
    }

    platform::ScriptedPump pump;
};

TEST_F(PolledInput, TwoPressesBetweenFramesAreTwoHitsReadOnce)
{
    press(KEY_ESCAPE);
    press(KEY_ESCAPE);
    EXPECT_EQ(take_key_hits(KEY_ESCAPE), 2);
    EXPECT_EQ(take_key_hits(KEY_ESCAPE), 0);
    EXPECT_EQ(key_held(KEY_ESCAPE), 0);
}

TEST_F(PolledInput, RepeatsAreReportedButNotCounted)
{
    pump.push(key(MessageKind::KeyDown, 'Z'));
    for (int i = 0; i < 5; ++i)
        pump.push(key(MessageKind::KeyDown, 'Z', true));
    EXPECT_EQ(key_held('Z'), 1);
    EXPECT_EQ(take_key_hits('Z'), 1);
    int repeats = 0;
    for (const Ref<TEvent>& e : seen)
        repeats += e->id == EVENT_KEY_REPEAT && e->data == 'Z';
    EXPECT_EQ(repeats, 5);
    pump.push(key(MessageKind::KeyUp, 'Z'));
    EXPECT_EQ(key_held('Z'), 0);
}

TEST_F(PolledInput, FocusLossClearsHeldKeysAndPendingHits)
{
    pump.push(key(MessageKind::KeyDown, 'Z'));
    EXPECT_EQ(key_held('Z'), 1);
    pump.push(plain(MessageKind::FocusLost));
    EXPECT_EQ(key_held('Z'), 0);
    EXPECT_EQ(take_key_hits('Z'), 0);
    EXPECT_EQ(app_suspended(), 1);
    pump.push(plain(MessageKind::FocusGained));
    EXPECT_EQ(app_suspended(), 0);
    EXPECT_EQ(seen.back()->id, EVENT_APP_RESUME);
}

TEST_F(PolledInput, TwoCloseRequestsAreReadOnce)
{
    pump.push(plain(MessageKind::Close));
    pump.push(plain(MessageKind::Close));
    EXPECT_EQ(app_terminate_requested(), 1);
    EXPECT_EQ(app_terminate_requested(), 0);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0]->id, EVENT_APP_TERMINATE);
}

TEST_F(PolledInput, LeftShiftIsItsOwnKeyAndSetsTheModifierBit)
{
    pump.push(key(MessageKind::KeyDown, KEY_LSHIFT, false, MODIFIER_SHIFT));
    pump.push(key(MessageKind::KeyDown, 'A', false, MODIFIER_SHIFT));
    EXPECT_EQ(key_held(KEY_LSHIFT), 1);
    EXPECT_EQ(key_held(16), 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0]->data, KEY_LSHIFT);
    EXPECT_EQ(seen[0]->mods, MODIFIER_SHIFT);
    EXPECT_EQ(seen[1]->mods, MODIFIER_SHIFT);
    pump.push(key(MessageKind::KeyUp, KEY_LSHIFT, false, 0));
    pump.push(key(MessageKind::KeyUp, 'A', false, MODIFIER_SHIFT));
    key_held('A');
    EXPECT_EQ(seen[3]->mods, 0); // only modifier keys' own messages move the bits
}

TEST_F(PolledInput, KeysWithoutACodeNeverReachTheArrays)
{
    pump.push(key(MessageKind::KeyDown, 0));
    pump.push(key(MessageKind::KeyDown, 256));
    pump.push(key(MessageKind::KeyDown, -3));
    EXPECT_EQ(key_held(0), 0);
    EXPECT_EQ(take_key_hits(256), 0);
    EXPECT_EQ(key_held(-3), 0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(PolledInput, TypedTextArrivesAsCharactersInOrder)
{
    OSMessage text = plain(MessageKind::Text);
    text.text = u"h\u00e9";
    pump.push(text);
    EXPECT_EQ(next_typed_char(), 'h');
    EXPECT_EQ(next_typed_char(), 0xE9);
    EXPECT_EQ(next_typed_char(), 0);
}

TEST_F(PolledInput, AFullCharacterQueueDropsFurtherCharacters)
{
    OSMessage text = plain(MessageKind::Text);
    text.text = std::u16string(TYPED_CHAR_QUEUE_SIZE, u'a') + u"b";
    pump.push(text);
    int count = 0;
    while (int32_t c = next_typed_char()) {
        EXPECT_EQ(c, 'a');
        ++count;
    }
    EXPECT_EQ(count, TYPED_CHAR_QUEUE_SIZE);
}

TEST_F(PolledInput, WheelStepsTruncateTowardZero)
{
    OSMessage wheel = plain(MessageKind::Wheel);
    wheel.wheel_delta = 60;
    pump.push(wheel);
    EXPECT_EQ(wheel_pos(), 0);
    wheel.wheel_delta = -240;
    pump.push(wheel);
    EXPECT_EQ(wheel_pos(), -2);
}

TEST_F(PolledInput, ButtonsCountAndReportTheirPosition)
{
    OSMessage down = plain(MessageKind::ButtonDown);
    down.button = 2;
    down.x = 10;
    down.y = 20;
    OSMessage up = down;
    up.kind = MessageKind::ButtonUp;
    pump.push(down);
    EXPECT_EQ(button_held(2), 1);
    pump.push(up);
    EXPECT_EQ(button_held(2), 0);
    EXPECT_EQ(button_hits(2), 1);
    EXPECT_EQ(button_hits(2), 0);
    EXPECT_EQ(seen[0]->x, 10);
    EXPECT_EQ(seen[0]->y, 20);
    down.button = 0; // a fourth button has no slot
    pump.push(down);
    EXPECT_EQ(button_hits(0), 0);
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(PolledInput, MotionTracksThePointerAndNamesTheButtonHeld)
{
    pump.push(motion(100, 50, platform::HELD_LEFT | platform::HELD_RIGHT));
    EXPECT_EQ(pointer_x(), 100);
    EXPECT_EQ(pointer_y(), 50);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0]->id, EVENT_MOUSE_ENTER);
    EXPECT_EQ(seen[1]->id, EVENT_MOUSE_MOVE);
    EXPECT_EQ(seen[1]->data, 2);
    pump.push(motion(101, 50, platform::HELD_MIDDLE | platform::HELD_LEFT));
    pump.push(motion(102, 50, platform::HELD_LEFT));
    pointer_x();
    EXPECT_EQ(seen[2]->data, 4);
    EXPECT_EQ(seen[3]->data, 1);
    EXPECT_EQ(tracked_window(), OUR_WINDOW);
    // Held outside the window (captured), the pointer still moves, and leaves.
    pump.push(motion(700, -5, platform::HELD_LEFT));
    EXPECT_EQ(pointer_x(), 700);
    EXPECT_EQ(pointer_y(), -5);
    EXPECT_EQ(seen[4]->id, EVENT_MOUSE_LEAVE);
    EXPECT_EQ(seen[5]->id, EVENT_MOUSE_MOVE);
    EXPECT_EQ(tracked_window(), 0u);
}

TEST_F(PolledInput, TheWindowSystemsLeaveNoticeEndsTracking)
{
    pump.push(motion(5, 5));
    pump.push(plain(MessageKind::PointerLeft));
    pointer_x();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2]->id, EVENT_MOUSE_LEAVE);
    EXPECT_EQ(tracked_window(), 0u);
}

TEST_F(PolledInput, MessagesOfUnclaimedWindowsAreDropped)
{
    OSMessage stray = key(MessageKind::KeyDown, 'Q');
    stray.window = OUR_WINDOW + 1;
    pump.push(stray);
    EXPECT_EQ(key_held('Q'), 0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(PolledInput, StoppingClearsStateAndIgnoresLaterEvents)
{
    pump.push(key(MessageKind::KeyDown, 'M'));
    EXPECT_EQ(key_held('M'), 1);
    stop_input_polling();
    EXPECT_EQ(key_held('M'), 0);
    pump.push(key(MessageKind::KeyDown, 'K'));
    EXPECT_EQ(key_held('K'), 0);
    EXPECT_EQ(seen.size(), 2u); // the event still went out
}

TEST_F(PolledInput, SourceFilterCountsOnlyItsSource)
{
    stop_input_polling();
    const Ref<TObject> mine = make_ref<TObject>();
    start_input_polling(mine);
    send_event(new_event(EVENT_KEY_DOWN, nullptr, 'A', 0, 0, 0, nullptr));
    send_event(new_event(EVENT_KEY_DOWN, mine, 'B', 0, 0, 0, nullptr));
    EXPECT_EQ(key_held('A'), 0);
    EXPECT_EQ(key_held('B'), 1);
}

int nested_queries = 0;
Ref<TObject> query_during_pump(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    ++nested_queries;
    take_key_hits(KEY_SPACE); // must not pump again
    return data;
}

TEST_F(PolledInput, AQueryInsideAPumpDoesNotPumpAgain)
{
    attach_hook(EVENT_HOOK, &query_during_pump, nullptr, 50);
    nested_queries = 0;
    press(KEY_SPACE);
    pump.polls = 0;
    key_held(KEY_SPACE);
    detach_hook(EVENT_HOOK, &query_during_pump, nullptr);
    EXPECT_EQ(nested_queries, 2);
    EXPECT_EQ(pump.polls, 3); // two messages and the empty poll, all from the outer pump
    EXPECT_EQ(take_key_hits(KEY_SPACE), 0); // the nested query took the hit
}

TEST_F(PolledInput, ClearingKeysEmptiesHitsHeldAndCharacters)
{
    pump.push(key(MessageKind::KeyDown, 'A'));
    OSMessage text = plain(MessageKind::Text);
    text.text = u"a";
    pump.push(text);
    clear_key_state();
    EXPECT_EQ(key_held('A'), 0);
    EXPECT_EQ(take_key_hits('A'), 0);
    EXPECT_EQ(next_typed_char(), 0);
}

TEST(SystemDriver, WaitBlocksOnThePumpThenPolls)
{
    system_driver_init();
    platform::ScriptedPump pump;
    set_message_pump(&pump);
    wait_messages();
    set_message_pump(nullptr);
    EXPECT_EQ(pump.waits, 1);
    EXPECT_EQ(pump.polls, 1);
}

} // namespace
