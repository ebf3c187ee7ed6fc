// Pad messages of the window system as gamepad events.
#pragma once

#include "platform/message_pump.h"

namespace vantrel {

// Emits the event for a pad message through the event hook; false for
// messages of other kinds.
bool send_gamepad_event(const platform::OSMessage& message);

} // namespace vantrel
