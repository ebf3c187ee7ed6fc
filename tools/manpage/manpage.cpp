#include "manpage.h"

#include <regex>
#include <stdexcept>

namespace vantrel::manpage {

namespace {

// Replaces every occurrence; returns how many there were.
int replace_all(std::string& text, std::string_view key, const std::string& value)
{
    int count = 0;
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size())) {
        text.replace(at, key.size(), value);
        ++count;
    }
    return count;
}

} // namespace

std::string roff_text(std::string_view text)
{
    std::string out;
    if (!text.empty() && (text.front() == '.' || text.front() == '\''))
        out += "\\&";
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '\n')
            out += ' ';
        else
            out += c;
    }
    return out;
}

std::string roff_flag(std::string_view flag)
{
    std::string out;
    for (char c : roff_text(flag)) {
        if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string options_section(std::span<const CommandOption> options)
{
    std::string out;
    for (const CommandOption& option : options) {
        out += ".TP\n";
        if (option.argument.empty())
            out += ".B " + roff_flag(option.flag) + "\n";
        else
            out += ".BI " + roff_flag(option.flag) + " \" " + roff_text(option.argument) + "\"\n";
        out += roff_text(option.description) + "\n";
    }
    return out;
}

std::string keys_section(std::span<const KeyBinding> keys)
{
    std::string out;
    for (const KeyBinding& key : keys)
        out += ".TP\n.B " + roff_text(key.keys) + "\n" + roff_text(key.action) + "\n";
    return out;
}

std::string fill(std::string text, const Fields& fields)
{
    if (fields.options.empty() || fields.keys.empty())
        throw std::runtime_error("the option and key tables must not be empty");
    // The tables end with a newline of their own; the placeholder's line
    // break would leave a blank line, which roff warns about.
    const bool options_placed = replace_all(text, "@OPTIONS@\n", options_section(fields.options)) == 1;
    const bool keys_placed = replace_all(text, "@KEYS@\n", keys_section(fields.keys)) == 1;
    if (!options_placed || !keys_placed)
        throw std::runtime_error("the template needs @OPTIONS@ and @KEYS@ once each, on lines of their own");
    replace_all(text, "@VERSION@", roff_text(fields.version));
    replace_all(text, "@DATADIR@", roff_flag(fields.datadir));
    std::smatch left;
    if (std::regex_search(text, left, std::regex("@[A-Z_]+@")))
        throw std::runtime_error("unknown placeholder " + left.str() + " in the template");
    return text;
}

} // namespace vantrel::manpage
