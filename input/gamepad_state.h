// The polled gamepad state the polled-input callback keeps.
#pragma once

#include "input/events.h"
#include "input/gamepad.h"

#include <array>
#include <cstdint>

namespace vantrel {

struct PadState {
    bool connected = false;
    std::array<int32_t, GAMEPAD_BUTTON_COUNT> down{};
    std::array<int32_t, GAMEPAD_BUTTON_COUNT> hits{};
    std::array<int32_t, GAMEPAD_AXIS_COUNT> axes{};
};

struct GamepadState {
    std::array<PadState, GAMEPAD_SLOTS> pads;
    float dead_zone = 0.25f;
};

// Takes in a gamepad event; other events are ignored.
void track_gamepad(const TEvent& event);
// Releases every button and centres every axis of every pad (hits stay).
void release_gamepads();

} // namespace vantrel
