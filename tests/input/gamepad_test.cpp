#include "input/gamepad.h"

#include "input/events.h"
#include "input/hooks.h"
#include "input/input_state.h"
#include "input/polled_input.h"
#include "input/system_driver.h"
#include "platform/scripted_pump.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrel;
using platform::MessageKind;
using platform::OSMessage;

namespace {

std::vector<Text> seen;

Ref<TObject> record(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    if (auto e = ref_cast<TEvent>(data); e && (e->id & 0x1000))
        seen.push_back(e->to_string());
    return data;
}

OSMessage pad_message(MessageKind kind, int32_t pad, int32_t button = 0, int32_t value = 0)
{
    OSMessage m;
    m.kind = kind;
    m.pad = pad;
    m.button = button;
    m.axis_value = value;
    return m;
}

class Gamepads : public ::testing::Test {
protected:
    void SetUp() override
    {
        events_init();
        system_driver_init();
        set_message_pump(&pump);
        attach_hook(EVENT_HOOK, &record, nullptr, 100);
        start_input_polling(nullptr);
        seen.clear();
    }
    void TearDown() override
    {
        input_state().reset();
        seen.clear();
    }
    void send(MessageKind kind, int32_t pad, int32_t button = 0, int32_t value = 0)
    {
        pump.push(pad_message(kind, pad, button, value));
    }

    platform::ScriptedPump pump;
};

} // namespace

TEST_F(Gamepads, ConnectPressAndReleaseLikeKeys)
{
    EXPECT_EQ(gamepad_count(), 0);
    send(MessageKind::PadAdded, 1);
    EXPECT_EQ(gamepad_connected(1), 1);
    EXPECT_EQ(gamepad_connected(0), 0);
    EXPECT_EQ(gamepad_count(), 1);
    send(MessageKind::PadButtonDown, 1, GAMEPAD_A);
    send(MessageKind::PadButtonDown, 1, GAMEPAD_A); // no second hit while held
    EXPECT_EQ(gamepad_button_held(1, GAMEPAD_A), 1);
    send(MessageKind::PadButtonUp, 1, GAMEPAD_A);
    send(MessageKind::PadButtonDown, 1, GAMEPAD_A);
    send(MessageKind::PadButtonUp, 1, GAMEPAD_A);
    EXPECT_EQ(gamepad_button_held(1, GAMEPAD_A), 0);
    EXPECT_EQ(take_gamepad_button_hits(1, GAMEPAD_A), 2);
    EXPECT_EQ(take_gamepad_button_hits(1, GAMEPAD_A), 0);
    EXPECT_EQ(take_gamepad_button_hits(0, GAMEPAD_A), 0);
}

TEST_F(Gamepads, EventsGoThroughTheHookWithTheirNames)
{
    send(MessageKind::PadAdded, 0);
    send(MessageKind::PadButtonDown, 0, GAMEPAD_BACK);
    send(MessageKind::PadAxis, 0, GAMEPAD_LEFT_Y, -20000);
    send(MessageKind::PadRemoved, 0);
    pump_messages();
    EXPECT_EQ(seen, (std::vector<Text>{
                        u"GamepadConnect: data=0, mods=0, x=0, y=0, extra=\"\"",
                        u"GamepadDown: data=4, mods=0, x=0, y=0, extra=\"\"",
                        u"GamepadAxis: data=1, mods=0, x=0, y=-20000, extra=\"\"",
                        u"GamepadDisconnect: data=0, mods=0, x=0, y=0, extra=\"\""}));
    EXPECT_EQ(next_queued_event(), EVENT_GAMEPAD_CONNECT);
}

TEST_F(Gamepads, AxesHaveADeadZoneAndFullTravelIsOne)
{
    send(MessageKind::PadAdded, 0);
    send(MessageKind::PadAxis, 0, GAMEPAD_LEFT_X, 32767);
    EXPECT_FLOAT_EQ(gamepad_axis(0, GAMEPAD_LEFT_X), 1.0f);
    send(MessageKind::PadAxis, 0, GAMEPAD_LEFT_X, -32768);
    EXPECT_FLOAT_EQ(gamepad_axis(0, GAMEPAD_LEFT_X), -1.0f);
    send(MessageKind::PadAxis, 0, GAMEPAD_LEFT_X, 8000); // about 0.244: inside
    EXPECT_EQ(gamepad_axis(0, GAMEPAD_LEFT_X), 0.0f);
    send(MessageKind::PadAxis, 0, GAMEPAD_LEFT_X, -24575); // 0.75 of travel
    EXPECT_NEAR(gamepad_axis(0, GAMEPAD_LEFT_X), -2.0f / 3.0f, 1e-3);
    set_gamepad_dead_zone(0);
    EXPECT_NEAR(gamepad_axis(0, GAMEPAD_LEFT_X), -0.75f, 1e-3);
    set_gamepad_dead_zone(2);
    EXPECT_FLOAT_EQ(gamepad_dead_zone(), 0.95f);
    EXPECT_EQ(gamepad_axis(0, GAMEPAD_AXIS_COUNT), 0.0f);
    EXPECT_EQ(gamepad_axis(-1, 0), 0.0f);
}

TEST_F(Gamepads, UnpluggingMidPressReleasesAndHotPlugGetsTheSlotBack)
{
    send(MessageKind::PadAdded, 0);
    send(MessageKind::PadButtonDown, 0, GAMEPAD_LEFT_SHOULDER);
    send(MessageKind::PadAxis, 0, GAMEPAD_RIGHT_TRIGGER, 32767);
    EXPECT_EQ(gamepad_button_held(0, GAMEPAD_LEFT_SHOULDER), 1);
    send(MessageKind::PadRemoved, 0);
    EXPECT_EQ(gamepad_button_held(0, GAMEPAD_LEFT_SHOULDER), 0);
    EXPECT_EQ(gamepad_axis(0, GAMEPAD_RIGHT_TRIGGER), 0.0f);
    EXPECT_EQ(gamepad_connected(0), 0);
    EXPECT_EQ(take_gamepad_button_hits(0, GAMEPAD_LEFT_SHOULDER), 1); // the press happened
    send(MessageKind::PadAdded, 0);
    EXPECT_EQ(gamepad_connected(0), 1);
    EXPECT_EQ(gamepad_button_held(0, GAMEPAD_LEFT_SHOULDER), 0);
}

TEST_F(Gamepads, LosingActivationReleasesButtons)
{
    send(MessageKind::PadAdded, 2);
    send(MessageKind::PadButtonDown, 2, GAMEPAD_DPAD_UP);
    EXPECT_EQ(gamepad_button_held(2, GAMEPAD_DPAD_UP), 1);
    send_event(new_event(EVENT_APP_SUSPEND, {}, 0, 0, 0, 0, {}));
    EXPECT_EQ(gamepad_button_held(2, GAMEPAD_DPAD_UP), 0);
    EXPECT_EQ(gamepad_connected(2), 1);
}

TEST_F(Gamepads, OutOfRangeSlotsAndButtonsAreIgnored)
{
    send(MessageKind::PadAdded, GAMEPAD_SLOTS);
    send(MessageKind::PadButtonDown, -1, 0);
    send(MessageKind::PadAdded, 0);
    send(MessageKind::PadButtonDown, 0, GAMEPAD_BUTTON_COUNT);
    send(MessageKind::PadAxis, 0, -3, 100);
    pump_messages();
    EXPECT_EQ(gamepad_count(), 1);
    EXPECT_EQ(gamepad_button_held(GAMEPAD_SLOTS, 0), 0);
    EXPECT_EQ(take_gamepad_button_hits(0, GAMEPAD_BUTTON_COUNT), 0);
}

TEST_F(Gamepads, NothingCountsWhilePollingIsOff)
{
    stop_input_polling();
    send(MessageKind::PadAdded, 0);
    send(MessageKind::PadButtonDown, 0, GAMEPAD_A);
    pump_messages();
    EXPECT_EQ(seen.size(), 2u); // the events still go round the hook
    EXPECT_EQ(gamepad_count(), 0);
}
