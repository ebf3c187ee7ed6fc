// The manual page's generated parts: roff markup for the option and key
// tables, and the template filling that puts them in place.
#pragma once

#include "game/options.h"

#include <span>
#include <string>
#include <string_view>

namespace vantrel::manpage {

// Text safe inside a roff line: backslashes escaped, a leading '.' or '\''
// kept from reading as a request. Hyphens stay hyphens.
std::string roff_text(std::string_view text);

// A command-line flag in roff: every '-' a minus sign, as typed.
std::string roff_flag(std::string_view flag);

// One .TP entry per option, the flag bold and its argument italic.
std::string options_section(std::span<const CommandOption> options);

// One .TP entry per key binding.
std::string keys_section(std::span<const KeyBinding> keys);

struct Fields {
    std::string version;
    std::string datadir;
    std::span<const CommandOption> options;
    std::span<const KeyBinding> keys;
};

// The template with @VERSION@, @DATADIR@, @OPTIONS@ and @KEYS@ replaced.
// Throws std::runtime_error when the template lacks OPTIONS or KEYS, when
// a table is empty, or when any other @NAME@ placeholder is left.
std::string fill(std::string text, const Fields& fields);

} // namespace vantrel::manpage
