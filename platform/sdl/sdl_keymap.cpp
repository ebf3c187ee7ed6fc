// The table from SDL's physical keys to virtual-key codes.
#include "platform/sdl/sdl_keymap.h"

#include "platform/message_pump.h"

#include <array>
#include <utility>

namespace vantrel::platform::sdl {
namespace {

using Pair = std::pair<SDL_Scancode, uint8_t>;

constexpr Pair named_keys[] = {
    {SDL_SCANCODE_BACKSPACE, 8}, {SDL_SCANCODE_TAB, 9}, {SDL_SCANCODE_CLEAR, 12},
    {SDL_SCANCODE_RETURN, 13}, {SDL_SCANCODE_KP_ENTER, 13}, {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_CAPSLOCK, 20}, {SDL_SCANCODE_ESCAPE, 27}, {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_PAGEUP, 33}, {SDL_SCANCODE_PAGEDOWN, 34}, {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_HOME, 36}, {SDL_SCANCODE_LEFT, 37}, {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39}, {SDL_SCANCODE_DOWN, 40}, {SDL_SCANCODE_SELECT, 41},
    {SDL_SCANCODE_EXECUTE, 43}, {SDL_SCANCODE_PRINTSCREEN, 44}, {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46}, {SDL_SCANCODE_HELP, 47}, {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92}, {SDL_SCANCODE_APPLICATION, 93}, {SDL_SCANCODE_SLEEP, 95},
    {SDL_SCANCODE_KP_MULTIPLY, 106}, {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109}, {SDL_SCANCODE_KP_PERIOD, 110}, {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144}, {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_LSHIFT, 160}, {SDL_SCANCODE_RSHIFT, 161}, {SDL_SCANCODE_LCTRL, 162},
    {SDL_SCANCODE_RCTRL, 163}, {SDL_SCANCODE_LALT, 164}, {SDL_SCANCODE_RALT, 165},
    {SDL_SCANCODE_SEMICOLON, 186}, {SDL_SCANCODE_EQUALS, 187}, {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189}, {SDL_SCANCODE_PERIOD, 190}, {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192}, {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220}, {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

std::array<uint8_t, SDL_NUM_SCANCODES> build_table()
{
    std::array<uint8_t, SDL_NUM_SCANCODES> table{};
    for (int i = 0; i < 26; ++i)
        table[SDL_SCANCODE_A + i] = static_cast<uint8_t>('A' + i);
    // SDL numbers the digit row 1..9, 0.
    for (int i = 0; i < 9; ++i)
        table[SDL_SCANCODE_1 + i] = static_cast<uint8_t>('1' + i);
    table[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 9; ++i)
        table[SDL_SCANCODE_KP_1 + i] = static_cast<uint8_t>(97 + i);
    table[SDL_SCANCODE_KP_0] = 96;
    for (int i = 0; i < 12; ++i)
        table[SDL_SCANCODE_F1 + i] = static_cast<uint8_t>(112 + i);
    for (int i = 0; i < 12; ++i)
        table[SDL_SCANCODE_F13 + i] = static_cast<uint8_t>(124 + i);
    for (const auto& [scancode, code] : named_keys)
        table[scancode] = code;
    return table;
}

const std::array<uint8_t, SDL_NUM_SCANCODES> by_scancode = build_table();

// Codes no position has, handed to character keys whose positional code a
// character elsewhere on the layout has taken.
constexpr uint8_t spare_codes[] = {223, 225, 227, 228, 230, 233, 234, 235, 236, 237, 238, 239,
                                   240, 241, 242, 243, 244, 245, 146, 147, 148, 149, 150};

// What the layout's current keys report where the position's own code is
// taken; 0 where it is not.
std::array<uint8_t, SDL_NUM_SCANCODES> displaced{};

// The keys that report their character rather than their position.
bool character_key(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return true;
    const uint8_t code = by_scancode[scancode];
    return (code >= 186 && code <= 192) || (code >= 219 && code <= 222) || code == 226;
}

// The code of a character a layout prints on a key; 0 for any other.
int32_t character_code(SDL_Keycode keycode)
{
    if (keycode >= SDLK_a && keycode <= SDLK_z)
        return 'A' + (keycode - SDLK_a);
    switch (keycode) {
    case ';': return 186;
    case '=':
    case '+': return 187;
    case ',': return 188;
    case '-': return 189;
    case '.': return 190;
    case '/': return 191;
    case '`': return 192;
    case '[': return 219;
    case '\\': return 220;
    case ']': return 221;
    case '\'': return 222;
    default: return 0;
    }
}

bool valid(int32_t scancode) { return scancode >= 0 && scancode < SDL_NUM_SCANCODES; }

} // namespace

void learn_layout(const KeyOfScancode& key_of)
{
    std::array<bool, 256> taken{};
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        const auto scancode = static_cast<SDL_Scancode>(s);
        if (character_key(scancode))
            taken[static_cast<size_t>(character_code(key_of(scancode)))] = true;
    }
    displaced.fill(0);
    size_t spare = 0;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        const auto scancode = static_cast<SDL_Scancode>(s);
        if (!character_key(scancode) || character_code(key_of(scancode)) != 0)
            continue;
        if (taken[by_scancode[s]] && spare < std::size(spare_codes))
            displaced[static_cast<size_t>(s)] = spare_codes[spare++];
    }
}

int32_t virtual_key(int32_t raw_scancode, SDL_Keycode keycode)
{
    if (!valid(raw_scancode))
        return 0;
    const auto scancode = static_cast<SDL_Scancode>(raw_scancode);
    if (!character_key(scancode))
        return by_scancode[scancode];
    if (const int32_t code = character_code(keycode))
        return code;
    return displaced[scancode] ? displaced[scancode] : by_scancode[scancode];
}

int32_t modifier_bits(Uint16 state)
{
    int32_t bits = 0;
    if (state & KMOD_SHIFT)
        bits |= MOD_SHIFT;
    if (state & KMOD_CTRL)
        bits |= MOD_CONTROL;
    if (state & KMOD_ALT)
        bits |= MOD_ALT;
    if (state & KMOD_GUI)
        bits |= MOD_SYSTEM;
    return bits;
}

} // namespace vantrel::platform::sdl
