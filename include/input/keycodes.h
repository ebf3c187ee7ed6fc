// Virtual-key codes of the keys the input layer reports (1..255).
#pragma once

#include <cstdint>

namespace vantrel {

constexpr int32_t KEY_BACKSPACE = 8;
constexpr int32_t KEY_TAB = 9;
constexpr int32_t KEY_RETURN = 13;
constexpr int32_t KEY_ESCAPE = 27;
constexpr int32_t KEY_SPACE = 32;
constexpr int32_t KEY_LEFT = 37;
constexpr int32_t KEY_UP = 38;
constexpr int32_t KEY_RIGHT = 39;
constexpr int32_t KEY_DOWN = 40;
constexpr int32_t KEY_0 = 48; // digits are their characters
constexpr int32_t KEY_A = 65; // letters their upper-case characters
constexpr int32_t KEY_F1 = 112; // F1..F24 are 112..135
constexpr int32_t KEY_LSYS = 91;
constexpr int32_t KEY_RSYS = 92;
constexpr int32_t KEY_LSHIFT = 160;
constexpr int32_t KEY_RSHIFT = 161;
constexpr int32_t KEY_LCONTROL = 162;
constexpr int32_t KEY_RCONTROL = 163;
constexpr int32_t KEY_LALT = 164;
constexpr int32_t KEY_RALT = 165;

} // namespace vantrel
