// Synthesised window-system events for tests: each call pushes an SDL event
// onto SDL's own queue, so it travels through the real pump exactly like one
// from the window system. Needs video up (a window made); false otherwise.
#pragma once

#include <cstdint>
#include <string>

namespace vantrel::platform {

// Scancodes are USB HID usages, as SDL numbers physical keys.
constexpr int32_t SCANCODE_A = 4;
constexpr int32_t SCANCODE_M = 16;
constexpr int32_t SCANCODE_Z = 29;
constexpr int32_t SCANCODE_1 = 30;
constexpr int32_t SCANCODE_0 = 39;
constexpr int32_t SCANCODE_RETURN = 40;
constexpr int32_t SCANCODE_ESCAPE = 41;
constexpr int32_t SCANCODE_BACKSPACE = 42;
constexpr int32_t SCANCODE_TAB = 43;
constexpr int32_t SCANCODE_SPACE = 44;
constexpr int32_t SCANCODE_F1 = 58;
constexpr int32_t SCANCODE_F12 = 69;
constexpr int32_t SCANCODE_RIGHT = 79;
constexpr int32_t SCANCODE_LEFT = 80;
constexpr int32_t SCANCODE_DOWN = 81;
constexpr int32_t SCANCODE_UP = 82;
constexpr int32_t SCANCODE_LCTRL = 224;
constexpr int32_t SCANCODE_LSHIFT = 225;
constexpr int32_t SCANCODE_LALT = 226;
constexpr int32_t SCANCODE_RCTRL = 228;
constexpr int32_t SCANCODE_RSHIFT = 229;
constexpr int32_t SCANCODE_RALT = 230;

// The key's character comes from the current layout; mods are MOD_* bits.
bool inject_key(uint32_t window, int32_t scancode, bool down, bool repeat = false,
                int32_t mods = 0);
bool inject_text(uint32_t window, const std::string& utf8);
// button: 1 left, 2 right, 3 middle.
bool inject_button(uint32_t window, int32_t button, bool down, int32_t x, int32_t y);
// held: HELD_* bits.
bool inject_motion(uint32_t window, int32_t x, int32_t y, int32_t held = 0);
// notches: positive away from the user; fractions for smooth wheels.
bool inject_wheel(uint32_t window, float notches);

enum class WindowNotice { FocusGained, FocusLost, Close, PointerEntered, PointerLeft };
bool inject_window_notice(uint32_t window, WindowNotice notice);
// The event a window manager never sends while another window of ours lives.
bool inject_quit();

// A virtual game controller, as if one were plugged in: its buttons and
// axes numbered as the pad messages number them. The handle is -1 when SDL
// refuses; the changes arrive with the next poll.
int32_t attach_virtual_pad();
bool set_virtual_pad_button(int32_t handle, int32_t button, bool down);
bool set_virtual_pad_axis(int32_t handle, int32_t axis, int32_t value);
// Unplugs it.
void detach_virtual_pad(int32_t handle);

} // namespace vantrel::platform
