// Process start-up: fatal-signal handlers and the program's own paths.
#pragma once

#include <string>

namespace vantrel::platform {

// SIGILL, SIGSEGV, SIGABRT and SIGTERM end the process with "Received Signal"
// on standard error and exit status 255; SIGFPE and SIGBUS, the processor
// faults, with "Unhandled Memory Exception Error" and status 255.
void install_fatal_signal_handlers();

// SIGINT and SIGHUP ask the game to close, as the window's close box does:
// the handler only records the request, which the system driver turns into
// a close request when it next polls. A second signal while the first is
// still unread ends the process the default way (a game stuck before its
// window opens can still be interrupted). Must run before the window system
// starts: the SDL backend then keeps SDL from installing handlers of its own.
void install_quit_signal_handlers();
bool quit_signal_handlers_installed();

// Whether a quit signal arrived since the last call; forgets it.
bool take_quit_signal();

struct ProcessPaths {
    std::string launch_dir;  // the current directory at start-up
    std::string program_dir; // the directory holding the executable
    std::string program_path;
};

// Records the paths and makes the program's directory the current one.
ProcessPaths enter_program_dir();

} // namespace vantrel::platform
