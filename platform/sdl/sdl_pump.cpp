// The SDL event queue as a MessagePump, and the pointer services.
#include "platform/message_pump.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_gamepads.h"
#include "platform/sdl/sdl_keymap.h"
#include "platform/unicode.h"
#include "platform/window.h"
#include "platform/sdl/sdl_video.h"

#include <SDL.h>

#include <atomic>

namespace vantrel::platform {
namespace {

int32_t button_number(Uint8 sdl_button)
{
    switch (sdl_button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
    }
}

int32_t held_buttons(Uint32 state)
{
    return ((state & SDL_BUTTON_LMASK) ? HELD_LEFT : 0) |
           ((state & SDL_BUTTON_RMASK) ? HELD_RIGHT : 0) |
           ((state & SDL_BUTTON_MMASK) ? HELD_MIDDLE : 0);
}

bool from_key(const SDL_KeyboardEvent& key, OSMessage& m)
{
    m.kind = key.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
    m.window = key.windowID;
    m.key = sdl::virtual_key(key.keysym.scancode, key.keysym.sym);
    m.repeat = key.repeat != 0;
    m.mods = sdl::modifier_bits(key.keysym.mod);
    return true;
}

bool from_window_event(const SDL_WindowEvent& event, OSMessage& m)
{
    m.window = event.windowID;
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: m.kind = MessageKind::FocusGained; return true;
    case SDL_WINDOWEVENT_FOCUS_LOST: m.kind = MessageKind::FocusLost; return true;
    case SDL_WINDOWEVENT_CLOSE: m.kind = MessageKind::Close; return true;
    case SDL_WINDOWEVENT_LEAVE: m.kind = MessageKind::PointerLeft; return true;
    default: return false;
    }
}

bool from_wheel(const SDL_MouseWheelEvent& wheel, OSMessage& m)
{
    m.kind = MessageKind::Wheel;
    m.window = wheel.windowID;
    // Fractional notches of smooth wheels count as parts of WHEEL_NOTCH.
    const float notches = wheel.preciseY != 0.0f ? wheel.preciseY : static_cast<float>(wheel.y);
    m.wheel_delta = static_cast<int32_t>(notches * WHEEL_NOTCH);
    if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
        m.wheel_delta = -m.wheel_delta;
    return true;
}

bool from_motion(const SDL_MouseMotionEvent& motion, OSMessage& m)
{
    m.kind = MessageKind::Motion;
    m.window = motion.windowID;
    m.x = motion.x;
    m.y = motion.y;
    m.buttons = held_buttons(motion.state);
    sdl_window_client_size(m.window, m.client_width, m.client_height);
    return true;
}

// Fills m from the event; false for events the input layer has no use for.
bool translate(const SDL_Event& e, OSMessage& m)
{
    m = OSMessage{};
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: return from_key(e.key, m);
    case SDL_TEXTINPUT:
        m.kind = MessageKind::Text;
        m.window = e.text.windowID;
        m.text = utf16_from_utf8(e.text.text);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        m.kind = e.type == SDL_MOUSEBUTTONDOWN ? MessageKind::ButtonDown : MessageKind::ButtonUp;
        m.window = e.button.windowID;
        m.button = button_number(e.button.button);
        m.x = e.button.x;
        m.y = e.button.y;
        return true;
    case SDL_MOUSEMOTION: return from_motion(e.motion, m);
    case SDL_MOUSEWHEEL: return from_wheel(e.wheel, m);
    case SDL_WINDOWEVENT: return from_window_event(e.window, m);
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION: return sdl::translate_gamepad(e, m);
    default: return false; // SDL_QUIT included: close requests come per window
    }
}

class SdlMessagePump final : public MessagePump {
public:
    bool poll(OSMessage& message) override
    {
        if (!sdl::video_ready())
            return false;
        if (!layout_known_) {
            layout_known_ = true;
            sdl::learn_layout(&SDL_GetKeyFromScancode);
            frames_at_first_poll_ = sdl::frames_shown();
        }
        // Starting the pads scans for devices, which takes milliseconds: it
        // waits until a frame has been shown since the first poll (a
        // program's first poll comes with its window), or until the third
        // drain of the queue in a program that shows none.
        if (!pads_started_ && (sdl::frames_shown() > frames_at_first_poll_ || drains_ >= 3)) {
            pads_started_ = true;
            sdl::start_gamepads();
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_USEREVENT)
                wake_pending_.store(false, std::memory_order_release);
            else if (event.type == SDL_KEYMAPCHANGED)
                sdl::learn_layout(&SDL_GetKeyFromScancode);
            else if (translate(event, message))
                return true;
        }
        if (!pads_started_)
            ++drains_;
        return false;
    }
    void wait() override
    {
        if (sdl::video_ready())
            SDL_WaitEvent(nullptr);
    }
    void wake() override
    {
        // One pending wake is enough, so a fast timer cannot fill the queue.
        if (wake_pending_.exchange(true, std::memory_order_acq_rel))
            return;
        SDL_Event event{};
        event.type = SDL_USEREVENT;
        if (SDL_PushEvent(&event) != 1)
            wake_pending_.store(false, std::memory_order_release);
    }

private:
    bool layout_known_ = false;
    bool pads_started_ = false;
    uint64_t frames_at_first_poll_ = 0;
    int drains_ = 0;
    std::atomic<bool> wake_pending_{false};
};

} // namespace

MessagePump& sdl_message_pump()
{
    static SdlMessagePump pump;
    return pump;
}

bool sdl_pointer_position_in(uint32_t window, int32_t& x, int32_t& y)
{
    SDL_Window* w = sdl::video_ready() ? SDL_GetWindowFromID(window) : nullptr;
    if (!w)
        return false;
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(w, &wx, &wy);
    x = gx - wx;
    y = gy - wy;
    return true;
}

void sdl_show_pointer(bool visible)
{
    if (sdl::video_ready())
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void sdl_warp_pointer(int32_t x, int32_t y)
{
    if (!sdl::video_ready())
        return;
    if (SDL_Window* focus = SDL_GetKeyboardFocus())
        SDL_WarpMouseInWindow(focus, x, y);
    else
        SDL_WarpMouseGlobal(x, y);
}

bool sdl_window_client_size(uint32_t window, int32_t& width, int32_t& height)
{
    SDL_Window* w = sdl::video_ready() ? SDL_GetWindowFromID(window) : nullptr;
    if (!w)
        return false;
    SDL_GetWindowSize(w, &width, &height);
    return true;
}

} // namespace vantrel::platform
