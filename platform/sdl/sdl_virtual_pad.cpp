// Virtual game controllers for tests, over SDL's virtual joysticks.
#include "platform/event_injection.h"
#include "platform/sdl/sdl_gamepads.h"

#include <SDL.h>

#include <map>

namespace vantrel::platform {
namespace {

// Opened joysticks by device index at attach time: SDL sets a virtual
// joystick's state only through an open handle.
std::map<int32_t, SDL_Joystick*>& opened()
{
    static std::map<int32_t, SDL_Joystick*> table;
    return table;
}

SDL_Joystick* handle_of(int32_t handle)
{
    auto found = opened().find(handle);
    return found == opened().end() ? nullptr : found->second;
}

} // namespace

int32_t attach_virtual_pad()
{
    if (!sdl::start_gamepads())
        return -1;
    // SDL drops pad input while none of the program's windows has the focus,
    // and a test's window may lose it to a test running alongside. Input fed
    // in by hand is meant to arrive.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                SDL_CONTROLLER_AXIS_MAX,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    if (index < 0)
        return -1;
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (!joystick) {
        SDL_JoystickDetachVirtual(index);
        return -1;
    }
    const int32_t handle = SDL_JoystickInstanceID(joystick);
    opened()[handle] = joystick;
    return handle;
}

bool set_virtual_pad_button(int32_t handle, int32_t button, bool down)
{
    SDL_Joystick* joystick = handle_of(handle);
    if (!joystick || SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0) != 0)
        return false;
    SDL_JoystickUpdate();
    return true;
}

bool set_virtual_pad_axis(int32_t handle, int32_t axis, int32_t value)
{
    SDL_Joystick* joystick = handle_of(handle);
    if (!joystick || SDL_JoystickSetVirtualAxis(joystick, axis, static_cast<Sint16>(value)) != 0)
        return false;
    SDL_JoystickUpdate();
    return true;
}

void detach_virtual_pad(int32_t handle)
{
    SDL_Joystick* joystick = handle_of(handle);
    if (!joystick)
        return;
    opened().erase(handle);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == handle) {
            SDL_JoystickClose(joystick);
            SDL_JoystickDetachVirtual(i);
            return;
        }
    SDL_JoystickClose(joystick);
}

} // namespace vantrel::platform
