// Process start-up: fatal-signal handlers and the program's own paths.
#pragma once

#include <string>

namespace vantrel::platform {

// SIGILL, SIGSEGV, SIGABRT and SIGTERM end the process with "Received Signal"
// on standard error and exit status 255.
void install_fatal_signal_handlers();

struct ProcessPaths {
    std::string launch_dir;  // the current directory at start-up
    std::string program_dir; // the directory holding the executable
    std::string program_path;
};

// Records the paths and makes the program's directory the current one.
ProcessPaths enter_program_dir();

} // namespace vantrel::platform
