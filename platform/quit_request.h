// The quit request that each system's Ctrl+C or hang-up handler records
// (process_posix.cpp, process_win32.cpp) and the system driver takes.
// Both calls are async-signal-safe.
#pragma once

namespace vantrel::platform {

// Clears any earlier request and marks the handlers as installed.
void arm_quit_requests();

// Records a request; false when one was already waiting unread.
bool note_quit_request();

} // namespace vantrel::platform
