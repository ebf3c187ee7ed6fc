// SDL's game controllers as pad messages: each controller plugged in gets
// the lowest free slot, keeps it until unplugged, and its buttons and axes
// are numbered as SDL's game-controller API numbers them.
#pragma once

#include "platform/message_pump.h"

#include <SDL.h>

namespace vantrel::platform::sdl {

// Starts the game-controller subsystem once, so plugged pads announce
// themselves; false when SDL refuses it.
bool start_gamepads();

// Translates a controller event; false for other events and for pads
// beyond the slots.
bool translate_gamepad(const SDL_Event& event, OSMessage& message);

} // namespace vantrel::platform::sdl
