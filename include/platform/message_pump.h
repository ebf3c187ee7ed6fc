// The window system's pending messages, in a neutral form.
//
// A MessagePump hands out one OSMessage at a time: keys already mapped to the
// virtual-key codes 1..255 the input layer uses (0 when a key has none),
// typed text as 16-bit code units, pointer buttons, motion and wheel, focus
// changes and close requests, each tagged with the id of the window it
// belongs to. The SDL pump is the real one; ScriptedPump (scripted_pump.h)
// is its test double, and the null backend's pump.
#pragma once

#include <cstdint>
#include <string>

namespace vantrel::platform {

enum class MessageKind : int32_t {
    None,
    KeyDown,     // key, repeat, mods
    KeyUp,       // key, mods
    Text,        // text
    ButtonDown,  // button, x, y
    ButtonUp,    // button, x, y
    Motion,      // x, y, buttons, client_width, client_height
    Wheel,       // wheel_delta
    PointerLeft, // the pointer left the window
    FocusGained,
    FocusLost,
    Close,       // the window manager asks the window to close
    PadAdded,      // pad: a game controller was plugged in
    PadRemoved,    // pad
    PadButtonDown, // pad, button
    PadButtonUp,   // pad, button
    PadAxis,       // pad, button (the axis), axis_value
};

// Game controllers in use at once; pads are numbered 0 .. PAD_SLOTS - 1.
constexpr int32_t PAD_SLOTS = 4;

// Modifier bits of OSMessage::mods.
constexpr int32_t MOD_SHIFT = 1;
constexpr int32_t MOD_CONTROL = 2;
constexpr int32_t MOD_ALT = 4;
constexpr int32_t MOD_SYSTEM = 8;

// Button bits of OSMessage::buttons.
constexpr int32_t HELD_LEFT = 1;
constexpr int32_t HELD_RIGHT = 2;
constexpr int32_t HELD_MIDDLE = 16;

// One wheel notch, as the wheel delta counts it.
constexpr int32_t WHEEL_NOTCH = 120;

struct OSMessage {
    MessageKind kind = MessageKind::None;
    uint32_t window = 0;     // the window's id (GLWindow::id), 0 when none
    int32_t key = 0;         // virtual-key code 1..255, 0 when unmapped
    bool repeat = false;     // an auto-repeated key press
    int32_t mods = 0;        // modifier bits held at the time of a key message
    int32_t button = 0;      // 1 left, 2 right, 3 middle, 0 another
    int32_t buttons = 0;     // HELD_* bits during motion
    int32_t x = 0, y = 0;    // pointer position in the window's client area
    int32_t client_width = 0, client_height = 0; // the window's client size
    int32_t wheel_delta = 0; // WHEEL_NOTCH per notch, positive away from the user
    std::u16string text;     // typed characters
    int32_t pad = 0;         // the controller's slot, for the Pad* kinds
    int32_t axis_value = 0;  // -32768..32767; triggers 0..32767
};

class MessagePump {
public:
    virtual ~MessagePump() = default;
    // Takes the next pending message; false when there is none.
    virtual bool poll(OSMessage& message) = 0;
    // Blocks until a message is pending (or the system has none to give).
    virtual void wait() = 0;
    // Makes a wait() in progress return soon. Any thread may call it.
    virtual void wake() {}
};

// The pump of the platform backend the program registered at start-up
// (the graphics backend's init does it): SDL's event queue in the program. With no backend registered it never has a message.
MessagePump& system_message_pump();

// Pointer and window-system services the input layer needs.
// The pointer position relative to the window's client area.
bool pointer_position_in(uint32_t window, int32_t& x, int32_t& y);
// Shows or hides the pointer while it is over our windows.
void show_pointer(bool visible);
// Moves the pointer to client coordinates of the focused window (screen
// coordinates when no window has the focus).
void warp_pointer(int32_t x, int32_t y);
// The client size of a window of ours; false when the id is unknown.
bool window_client_size(uint32_t window, int32_t& width, int32_t& height);

} // namespace vantrel::platform
