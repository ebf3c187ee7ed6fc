// Game controllers, polled like the keyboard.
//
// Up to GAMEPAD_SLOTS controllers at once, each in the lowest free slot
// from plugging in to unplugging. Their buttons and axes arrive as events
// through the event hook, with the pad's slot as x: GamepadConnect and
// GamepadDisconnect, GamepadDown and GamepadUp with the button as data,
// GamepadAxis with the axis as data and its raw value (-32768 to 32767,
// triggers 0 to 32767) as y. The polled-input callback keeps held flags,
// hit counts and axis values from them; unplugging a pad, or the
// application losing activation, releases its buttons and centres its
// axes. Every query but gamepad_count polls the system first, like
// key_held. Main thread only.
#pragma once

#include <cstdint>

namespace vantrel {

constexpr int32_t GAMEPAD_SLOTS = 4;

enum : int32_t {
    GAMEPAD_A,
    GAMEPAD_B,
    GAMEPAD_X,
    GAMEPAD_Y,
    GAMEPAD_BACK,
    GAMEPAD_GUIDE,
    GAMEPAD_START,
    GAMEPAD_LEFT_STICK,
    GAMEPAD_RIGHT_STICK,
    GAMEPAD_LEFT_SHOULDER,
    GAMEPAD_RIGHT_SHOULDER,
    GAMEPAD_DPAD_UP,
    GAMEPAD_DPAD_DOWN,
    GAMEPAD_DPAD_LEFT,
    GAMEPAD_DPAD_RIGHT,
    GAMEPAD_BUTTON_COUNT = 21, // room for the extra buttons of newer pads
};

enum : int32_t {
    GAMEPAD_LEFT_X,
    GAMEPAD_LEFT_Y, // positive down
    GAMEPAD_RIGHT_X,
    GAMEPAD_RIGHT_Y,
    GAMEPAD_LEFT_TRIGGER,
    GAMEPAD_RIGHT_TRIGGER,
    GAMEPAD_AXIS_COUNT,
};

// Pads connected as far as the last poll knows; does not poll.
int32_t gamepad_count();
int32_t gamepad_connected(int32_t pad);
int32_t gamepad_button_held(int32_t pad, int32_t button);
// Presses since the count was last read; the count is then 0.
int32_t take_gamepad_button_hits(int32_t pad, int32_t button);
// -1 to 1 (triggers 0 to 1), 0 inside the dead zone and scaled beyond it so
// that the edge of the zone is 0 and full travel 1.
float gamepad_axis(int32_t pad, int32_t axis);

// The share of travel around the centre that counts as 0; 0.25 at start,
// clamped to 0 .. 0.95.
void set_gamepad_dead_zone(float zone);
float gamepad_dead_zone();

} // namespace vantrel
