#include "game/command_line.h"

#include "game/options.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vantrel {
namespace {

constexpr std::string_view PROGRAM = "vantrel";

CommandLine failure(std::string message)
{
    CommandLine line;
    line.action = CommandAction::Fail;
    line.error = std::move(message);
    return line;
}

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// Only the digits 1 to MAX_WINDOW_SCALE, written plainly: no sign, no
// spaces, no leading zeros.
bool parse_scale(std::string_view text, int32_t& scale)
{
    if (text.size() != 1 || text[0] < '1' || text[0] > '0' + MAX_WINDOW_SCALE)
        return false;
    scale = text[0] - '0';
    return true;
}

// --option VALUE or --option=VALUE; i moves past a separate value.
bool read_value(std::span<const std::string_view> args, size_t& i, std::string_view& value)
{
    const std::string_view arg = args[i];
    const size_t equals = arg.find('=');
    if (equals != std::string_view::npos) {
        value = arg.substr(equals + 1);
        return true;
    }
    if (i + 1 >= args.size())
        return false;
    value = args[++i];
    return true;
}

bool read_scale(std::span<const std::string_view> args, size_t& i, CommandLine& line)
{
    std::string_view value;
    if (!read_value(args, i, value)) {
        line = failure("--window-scale needs a value, a whole number from 1 to 8");
        return false;
    }
    if (!parse_scale(value, line.options.window_scale)) {
        line = failure("--window-scale takes a whole number from 1 to 8, not " + quoted(value));
        return false;
    }
    return true;
}

void append_padded(std::string& out, std::string_view text, size_t width)
{
    out += "  ";
    out += text;
    out.append(width > text.size() ? width - text.size() : 0, ' ');
    out += "  ";
}

std::string listed_renderers()
{
    std::string names;
    for (const std::string_view name : renderer_names())
        names += (names.empty() ? "" : ", ") + std::string(name);
    return names;
}

bool read_renderer(std::span<const std::string_view> args, size_t& i, CommandLine& line)
{
    std::string_view value;
    if (!read_value(args, i, value)) {
        line = failure("--renderer needs a name, one of " + listed_renderers());
        return false;
    }
    if (!renderer_backend(value)) {
        line = failure("unknown renderer " + quoted(value) + "; the renderers are " +
                       listed_renderers());
        return false;
    }
    for (const std::string_view name : renderer_names())
        if (name == value)
            line.options.renderer = name; // the table's own, which outlives argv
    return true;
}

} // namespace

CommandLine parse_command_line(std::span<const std::string_view> args)
{
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help") {
            line.action = CommandAction::Help;
            return line;
        }
        if (arg == "--version") {
            line.action = CommandAction::Version;
            return line;
        }
        if (arg == "--fullscreen") {
            line.options.fullscreen = true;
        } else if (arg == "--window-scale" || arg.starts_with("--window-scale=")) {
            if (!read_scale(args, i, line))
                return line;
        } else if (arg == "--renderer" || arg.starts_with("--renderer=")) {
            if (!read_renderer(args, i, line))
                return line;
        } else if (arg.starts_with("-")) {
            return failure("unknown option " + quoted(arg));
        } else {
            return failure("unexpected argument " + quoted(arg));
        }
    }
    return line;
}

CommandLine parse_command_line(int argc, char** argv)
{
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return parse_command_line(std::span<const std::string_view>(args));
}

std::string help_text()
{
    std::string out = "Usage: vantrel [OPTION]...\n"
                      "Keep a bird aloft over an island. Without options the game opens a\n"
                      "640 x 480 window.\n\nOptions:\n";
    size_t width = 0;
    for (const CommandOption& o : command_options())
        width = std::max(width, o.flag.size() + (o.argument.empty() ? 0 : o.argument.size() + 1));
    for (const CommandOption& o : command_options()) {
        std::string flag(o.flag);
        if (!o.argument.empty())
            flag += " " + std::string(o.argument);
        append_padded(out, flag, width);
        out += std::string(o.description) + "\n";
    }
    out += "\nKeys:\n";
    width = 0;
    for (const KeyBinding& k : key_bindings())
        width = std::max(width, k.keys.size());
    for (const KeyBinding& k : key_bindings()) {
        append_padded(out, k.keys, width);
        out += std::string(k.action) + "\n";
    }
    return out;
}

std::string version_text() { return "Vantrel 0.3\n"; }

int finish_command_line(const CommandLine& line)
{
    switch (line.action) {
    case CommandAction::Help:
        std::fputs(help_text().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case CommandAction::Version:
        std::fputs(version_text().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case CommandAction::Fail:
        std::fprintf(stderr, "%s: %s; try '%s --help'\n", PROGRAM.data(), line.error.c_str(),
                     PROGRAM.data());
        std::fflush(stderr);
        return 2;
    case CommandAction::Run:
        break;
    }
    return 0;
}

} // namespace vantrel
