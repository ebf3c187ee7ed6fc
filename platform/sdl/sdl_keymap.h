// SDL keys to virtual-key codes 1..255.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace vantrel::platform::sdl {

// Letters follow the keyboard layout (the key's character), everything else
// the physical key. Left and right shift, control and alt are 160..165. 0 for
// a key without a code.
int32_t virtual_key(SDL_Scancode scancode, SDL_Keycode keycode);

// The modifier bits (MOD_*) of an SDL modifier state.
int32_t modifier_bits(Uint16 state);

} // namespace vantrel::platform::sdl
