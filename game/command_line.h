// The program's command line: parsing into launch options, and the texts
// --help and --version print. Parsing does no output and opens nothing, so
// a bad command line ends the program before any window exists.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr int32_t MAX_WINDOW_SCALE = 8;

// How the game presents its 640 x 480 frame. The defaults are the plain
// window the game has always opened.
struct LaunchOptions {
    bool fullscreen = false;  // start at the desktop's resolution, frame scaled
    int32_t window_scale = 1; // the window is this many times 640 x 480
    std::string_view renderer = "gl"; // one of renderer_names()
};

// The names --renderer takes, the default first.
std::span<const std::string_view> renderer_names();
// The backend's registration for a name of renderer_names(), null for others.
using BackendInit = void (*)();
BackendInit renderer_backend(std::string_view name);

enum class CommandAction { Run, Help, Version, Fail };

struct CommandLine {
    CommandAction action = CommandAction::Run;
    LaunchOptions options;
    std::string error; // for Fail: what was wrong, one line without newline
};

// Reads the arguments after the program name, left to right; --help,
// --version and the first bad argument end the reading.
CommandLine parse_command_line(std::span<const std::string_view> args);

// The usage, the options and the keys, from the option and key tables.
std::string help_text();
std::string version_text();

// Prints what a Help, Version or Fail result asks for and gives the exit
// status (0, or 2 for a bad command line).
int finish_command_line(const CommandLine& line);

// For main(): parses argc/argv.
CommandLine parse_command_line(int argc, char** argv);

} // namespace vantrel
