// The program's command line, described once: --help prints these tables and
// the manual page is generated from them, so the two cannot drift apart.
#pragma once

#include <span>
#include <string_view>

namespace vantrel {

struct CommandOption {
    std::string_view flag;        // "--window-scale"
    std::string_view argument;    // "N", or empty when the option takes none
    std::string_view description; // one sentence, no trailing newline
};

struct KeyBinding {
    std::string_view keys;   // "Z or Left arrow"
    std::string_view action; // "flap the left wing"
};

std::span<const CommandOption> command_options();
std::span<const KeyBinding> key_bindings();

} // namespace vantrel
