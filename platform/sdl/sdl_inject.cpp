// Pushes synthesised events onto SDL's queue.
#include "platform/event_injection.h"
#include "platform/message_pump.h"
#include "platform/window.h"
#include "platform/sdl/sdl_video.h"

#include <SDL.h>

#include <cmath>
#include <cstring>

namespace vantrel::platform {
namespace {

bool push(SDL_Event& event)
{
    event.common.timestamp = SDL_GetTicks();
    return sdl::video_ready() && SDL_PushEvent(&event) == 1;
}

Uint16 sdl_modifiers(int32_t mods)
{
    return static_cast<Uint16>(((mods & MOD_SHIFT) ? KMOD_LSHIFT : 0) |
                               ((mods & MOD_CONTROL) ? KMOD_LCTRL : 0) |
                               ((mods & MOD_ALT) ? KMOD_LALT : 0) |
                               ((mods & MOD_SYSTEM) ? KMOD_LGUI : 0));
}

Uint8 sdl_button(int32_t button)
{
    switch (button) {
    case 1: return SDL_BUTTON_LEFT;
    case 2: return SDL_BUTTON_RIGHT;
    case 3: return SDL_BUTTON_MIDDLE;
    default: return static_cast<Uint8>(button);
    }
}

} // namespace

bool inject_key(uint32_t window, int32_t scancode, bool down, bool repeat, int32_t mods)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = window;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = static_cast<SDL_Scancode>(scancode);
    e.key.keysym.sym = sdl::video_ready() ? SDL_GetKeyFromScancode(e.key.keysym.scancode) : 0;
    e.key.keysym.mod = sdl_modifiers(mods);
    return push(e);
}

bool inject_text(uint32_t window, const std::string& utf8)
{
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = window;
    std::strncpy(e.text.text, utf8.c_str(), sizeof e.text.text - 1);
    return push(e);
}

bool inject_button(uint32_t window, int32_t button, bool down, int32_t x, int32_t y)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = window;
    e.button.button = sdl_button(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    return push(e);
}

bool inject_motion(uint32_t window, int32_t x, int32_t y, int32_t held)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = window;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = ((held & HELD_LEFT) ? SDL_BUTTON_LMASK : 0) |
                     ((held & HELD_RIGHT) ? SDL_BUTTON_RMASK : 0) |
                     ((held & HELD_MIDDLE) ? SDL_BUTTON_MMASK : 0);
    return push(e);
}

bool inject_wheel(uint32_t window, float notches)
{
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = window;
    e.wheel.y = static_cast<Sint32>(std::trunc(notches));
    e.wheel.preciseY = notches;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    return push(e);
}

bool inject_window_notice(uint32_t window, WindowNotice notice)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = window;
    switch (notice) {
    case WindowNotice::FocusGained: e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED; break;
    case WindowNotice::FocusLost: e.window.event = SDL_WINDOWEVENT_FOCUS_LOST; break;
    case WindowNotice::Close: e.window.event = SDL_WINDOWEVENT_CLOSE; break;
    case WindowNotice::PointerEntered: e.window.event = SDL_WINDOWEVENT_ENTER; break;
    case WindowNotice::PointerLeft: e.window.event = SDL_WINDOWEVENT_LEAVE; break;
    }
    return push(e);
}

bool inject_quit()
{
    SDL_Event e{};
    e.type = SDL_QUIT;
    return push(e);
}

} // namespace vantrel::platform
