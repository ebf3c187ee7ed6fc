#include "platform/sdl/sdl_gamepads.h"

#include <array>

namespace vantrel::platform::sdl {
namespace {

struct Slot {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID id = -1;
};

std::array<Slot, PAD_SLOTS>& slots()
{
    static std::array<Slot, PAD_SLOTS> table;
    return table;
}

int slot_of(SDL_JoystickID id)
{
    for (int i = 0; i < PAD_SLOTS; ++i)
        if (slots()[static_cast<size_t>(i)].controller && slots()[static_cast<size_t>(i)].id == id)
            return i;
    return -1;
}

bool added(int device_index, OSMessage& m)
{
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
    if (slot_of(id) >= 0)
        return false; // announced twice (opened before its event came)
    for (int i = 0; i < PAD_SLOTS; ++i) {
        Slot& slot = slots()[static_cast<size_t>(i)];
        if (slot.controller)
            continue;
        slot.controller = SDL_GameControllerOpen(device_index);
        if (!slot.controller)
            return false;
        slot.id = id;
        m.kind = MessageKind::PadAdded;
        m.pad = i;
        return true;
    }
    return false;
}

bool removed(SDL_JoystickID id, OSMessage& m)
{
    const int i = slot_of(id);
    if (i < 0)
        return false;
    Slot& slot = slots()[static_cast<size_t>(i)];
    SDL_GameControllerClose(slot.controller);
    slot = {};
    m.kind = MessageKind::PadRemoved;
    m.pad = i;
    return true;
}

} // namespace

bool start_gamepads()
{
    static bool started = false;
    if (!started)
        started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    return started;
}

bool translate_gamepad(const SDL_Event& e, OSMessage& m)
{
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: return added(e.cdevice.which, m);
    case SDL_CONTROLLERDEVICEREMOVED: return removed(e.cdevice.which, m);
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        m.pad = slot_of(e.cbutton.which);
        m.kind = e.type == SDL_CONTROLLERBUTTONDOWN ? MessageKind::PadButtonDown
                                                    : MessageKind::PadButtonUp;
        m.button = e.cbutton.button;
        return m.pad >= 0;
    case SDL_CONTROLLERAXISMOTION:
        m.pad = slot_of(e.caxis.which);
        m.kind = MessageKind::PadAxis;
        m.button = e.caxis.axis;
        m.axis_value = e.caxis.value;
        return m.pad >= 0;
    default: return false;
    }
}

} // namespace vantrel::platform::sdl
