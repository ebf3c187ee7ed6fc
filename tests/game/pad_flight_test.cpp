// The game's gamepad controls over scripted pad messages: which flight keys
// each button, trigger and stick stands for, Back as quit, and no polling
// at all while no pad is connected.
#include "game/pad_flight.h"

#include "input/events.h"
#include "input/gamepad.h"
#include "input/input_state.h"
#include "input/polled_input.h"
#include "input/system_driver.h"
#include "platform/scripted_pump.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using platform::MessageKind;

class PadFlight : public ::testing::Test {
protected:
    void SetUp() override
    {
        events_init();
        system_driver_init();
        set_message_pump(&pump);
        start_input_polling(nullptr);
    }
    void TearDown() override { input_state().reset(); }
    void send(MessageKind kind, int32_t pad, int32_t button = 0, int32_t value = 0)
    {
        platform::OSMessage m;
        m.kind = kind;
        m.pad = pad;
        m.button = button;
        m.axis_value = value;
        pump.push(m);
    }
    FlightKeys read()
    {
        FlightKeys keys;
        add_pad_flight(keys);
        return keys;
    }

    platform::ScriptedPump pump;
};

TEST_F(PadFlight, WithoutAPadNothingIsPolledOrChanged)
{
    const int polls = pump.polls;
    FlightKeys keys;
    keys.zoom_in = true;
    add_pad_flight(keys);
    EXPECT_FALSE(keys.left || keys.right || keys.zoom_out);
    EXPECT_TRUE(keys.zoom_in);
    EXPECT_FALSE(pad_quit_hit());
    EXPECT_EQ(pump.polls, polls);
}

TEST_F(PadFlight, ShouldersAndTriggersFlapTheirSide)
{
    send(MessageKind::PadAdded, 1);
    pump_messages();
    send(MessageKind::PadButtonDown, 1, GAMEPAD_LEFT_SHOULDER);
    FlightKeys keys = read();
    EXPECT_TRUE(keys.left);
    EXPECT_FALSE(keys.right);
    send(MessageKind::PadButtonUp, 1, GAMEPAD_LEFT_SHOULDER);
    send(MessageKind::PadAxis, 1, GAMEPAD_RIGHT_TRIGGER, 30000);
    keys = read();
    EXPECT_FALSE(keys.left);
    EXPECT_TRUE(keys.right);
    send(MessageKind::PadAxis, 1, GAMEPAD_RIGHT_TRIGGER, 9000); // a light touch
    EXPECT_FALSE(read().right);
}

TEST_F(PadFlight, DpadAndLeftStickZoom)
{
    send(MessageKind::PadAdded, 0);
    pump_messages();
    send(MessageKind::PadButtonDown, 0, GAMEPAD_DPAD_UP);
    EXPECT_TRUE(read().zoom_in);
    send(MessageKind::PadButtonUp, 0, GAMEPAD_DPAD_UP);
    send(MessageKind::PadAxis, 0, GAMEPAD_LEFT_Y, 32000); // stick down
    FlightKeys keys = read();
    EXPECT_FALSE(keys.zoom_in);
    EXPECT_TRUE(keys.zoom_out);
    send(MessageKind::PadAxis, 0, GAMEPAD_LEFT_Y, -32000);
    EXPECT_TRUE(read().zoom_in);
}

TEST_F(PadFlight, BackQuitsOnceAndUnpluggingMidFlapStopsTheFlap)
{
    send(MessageKind::PadAdded, 0);
    send(MessageKind::PadButtonDown, 0, GAMEPAD_BACK);
    send(MessageKind::PadButtonUp, 0, GAMEPAD_BACK);
    pump_messages();
    EXPECT_TRUE(pad_quit_hit());
    EXPECT_FALSE(pad_quit_hit());
    send(MessageKind::PadButtonDown, 0, GAMEPAD_RIGHT_SHOULDER);
    EXPECT_TRUE(read().right);
    send(MessageKind::PadRemoved, 0);
    pump_messages();
    EXPECT_FALSE(read().right);
}

} // namespace
} // namespace vantrel
