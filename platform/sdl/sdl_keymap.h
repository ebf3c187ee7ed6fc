// SDL keys to virtual-key codes 1..255.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>

namespace vantrel::platform::sdl {

// The character keys (letters and punctuation) report what the keyboard
// layout prints on them: a letter as its upper-case code, punctuation as the
// code of its character (';' 186, '=' and '+' 187, ',' 188, '-' 189, '.' 190,
// '/' 191, '`' 192, '[' 219, '\\' 220, ']' 221, '\'' 222). A character key
// whose character is neither keeps the code of its position, unless another
// key of the layout prints that code's character; it then gets a spare code,
// so no two keys of a layout share a code. Digits and all other keys follow
// their position. Left and right shift, control and alt are 160..165. 0 for
// a key without a code. The scancode is taken as a plain number, as a value
// outside SDL_Scancode's range cannot be held in the enumeration itself.
int32_t virtual_key(int32_t scancode, SDL_Keycode keycode);

// Learns the layout (the key each scancode types) so that virtual_key can
// tell which positional codes other keys' characters already use. Before the
// first call every fallback is positional.
using KeyOfScancode = std::function<SDL_Keycode(SDL_Scancode)>;
void learn_layout(const KeyOfScancode& key_of);

// The modifier bits (MOD_*) of an SDL modifier state.
int32_t modifier_bits(Uint16 state);

} // namespace vantrel::platform::sdl
