#include "input/gamepad_events.h"

#include "input/events.h"
#include "input/system_driver.h"

namespace vantrel {

bool send_gamepad_event(const platform::OSMessage& m)
{
    using platform::MessageKind;
    int32_t id = 0;
    switch (m.kind) {
    case MessageKind::PadAdded: id = EVENT_GAMEPAD_CONNECT; break;
    case MessageKind::PadRemoved: id = EVENT_GAMEPAD_DISCONNECT; break;
    case MessageKind::PadButtonDown: id = EVENT_GAMEPAD_DOWN; break;
    case MessageKind::PadButtonUp: id = EVENT_GAMEPAD_UP; break;
    case MessageKind::PadAxis: id = EVENT_GAMEPAD_AXIS; break;
    default: return false;
    }
    const bool carries_button = m.kind != MessageKind::PadAdded && m.kind != MessageKind::PadRemoved;
    send_event(new_event(id, {}, carries_button ? m.button : 0, current_modifiers(), m.pad,
                         m.kind == MessageKind::PadAxis ? m.axis_value : 0, {}));
    return true;
}

} // namespace vantrel
