// The null window-system backend, for tests and machines without a display:
// a message pump that hands out the messages a test injects, a pointer that
// is wherever it was last put, the null windows' sizes, and an audio output
// that consumes its ring at the format's rate as the clock advances.
#pragma once

#include "platform/scripted_pump.h"

#include <cstdint>

namespace vantrel::platform {

// Registers the null backend (platform/backend.h). Safe to call again.
void null_platform_init();

// The pump the input layer reads under the null backend: push messages
// into it to inject them.
ScriptedPump& null_message_pump();

// Where the null pointer is and whether it shows.
struct NullPointer {
    int32_t x = 0, y = 0; // client coordinates, as last warped
    bool visible = true;
    int32_t warps = 0;
};
NullPointer& null_pointer();

} // namespace vantrel::platform
