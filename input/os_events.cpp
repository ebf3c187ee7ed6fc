// send_os_event: one window message into the events it stands for.
#include "input/events.h"
#include "input/gamepad_events.h"
#include "input/mouse_tracking.h"
#include "input/system_driver.h"

namespace vantrel {
namespace {

using platform::MessageKind;
using platform::OSMessage;

void emit(int32_t id, const Ref<TObject>& source, int32_t data, int32_t x = 0, int32_t y = 0)
{
    send_event(new_event(id, source, data, current_modifiers(), x, y, nullptr));
}

// The button a MouseMove reports: right before middle before left.
int32_t motion_button(int32_t held)
{
    if (held & platform::HELD_RIGHT)
        return 2;
    if (held & platform::HELD_MIDDLE)
        return 4;
    return (held & platform::HELD_LEFT) ? 1 : 0;
}

void send_key(const OSMessage& m, const Ref<TObject>& source)
{
    // Codes outside 1..255 are not keys the state arrays can hold.
    if (m.key < 1 || m.key > 255)
        return;
    if (m.kind == MessageKind::KeyUp)
        emit(EVENT_KEY_UP, source, m.key);
    else
        emit(m.repeat ? EVENT_KEY_REPEAT : EVENT_KEY_DOWN, source, m.key);
}

void send_button(const OSMessage& m, const Ref<TObject>& source)
{
    if (m.button < 1 || m.button > 3)
        return;
    const bool down = m.kind == MessageKind::ButtonDown;
    emit(down ? EVENT_MOUSE_DOWN : EVENT_MOUSE_UP, source, m.button, m.x, m.y);
}

} // namespace

void send_os_event(const OSMessage& m, const Ref<TObject>& source)
{
    switch (m.kind) {
    case MessageKind::KeyDown:
    case MessageKind::KeyUp: send_key(m, source); break;
    case MessageKind::Text:
        for (char16_t unit : m.text)
            emit(EVENT_KEY_CHAR, source, unit);
        break;
    case MessageKind::ButtonDown:
    case MessageKind::ButtonUp: send_button(m, source); break;
    case MessageKind::Motion:
        track_pointer_motion(m, source);
        emit(EVENT_MOUSE_MOVE, source, motion_button(m.buttons), m.x, m.y);
        break;
    case MessageKind::Wheel:
        emit(EVENT_MOUSE_WHEEL, source, m.wheel_delta / platform::WHEEL_NOTCH);
        break;
    case MessageKind::PointerLeft: track_pointer_left(m.window); break;
    case MessageKind::FocusGained: emit(EVENT_APP_RESUME, source, 0); break;
    case MessageKind::FocusLost: emit(EVENT_APP_SUSPEND, source, 0); break;
    case MessageKind::Close: emit(EVENT_APP_TERMINATE, source, 0); break;
    case MessageKind::PadAdded:
    case MessageKind::PadRemoved:
    case MessageKind::PadButtonDown:
    case MessageKind::PadButtonUp:
    case MessageKind::PadAxis: send_gamepad_event(m); break;
    case MessageKind::None: break;
    }
}

} // namespace vantrel
