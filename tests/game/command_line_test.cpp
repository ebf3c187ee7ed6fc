// The command line: what each argument gives, the texts --help and
// --version print, and every kind of bad input.
#include "game/command_line.h"
#include "game/options.h"
#include "gfx/graphics.h"
#include "gfx/render_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

// The renderers this build has: the ES 2.0 one only where its headers were
// found (not in the Windows build).
const bool have_gles2 = renderer_backend("gles2") != nullptr;
const std::string renderer_list = have_gles2 ? "gl, gles2" : "gl";

CommandLine parse(std::vector<std::string_view> args)
{
    return parse_command_line(std::span<const std::string_view>(args));
}

TEST(CommandLine, NoArgumentsRunTheDefaultWindow)
{
    const CommandLine line = parse({});
    EXPECT_EQ(line.action, CommandAction::Run);
    EXPECT_FALSE(line.options.fullscreen);
    EXPECT_EQ(line.options.window_scale, 1);
    EXPECT_EQ(line.options.renderer, "gl");
}

TEST(CommandLine, RendererIsChosenByNameAndTheLastWins)
{
    if (have_gles2) {
        EXPECT_EQ(parse({"--renderer", "gles2"}).options.renderer, "gles2");
        EXPECT_EQ(parse({"--renderer=gles2", "--renderer", "gl"}).options.renderer, "gl");
    } else {
        EXPECT_EQ(parse({"--renderer", "gles2"}).action, CommandAction::Fail);
    }
    EXPECT_EQ(parse({"--renderer", "gl"}).options.renderer, "gl");
    for (const std::string_view name : renderer_names())
        EXPECT_NE(renderer_backend(name), nullptr) << name;
    EXPECT_EQ(renderer_names().front(), "gl");
    EXPECT_EQ(renderer_backend("GL"), nullptr);
}

// Code that asks the renderer in use which it is gets the name that chose it.
TEST(CommandLine, EachRendererNameRegistersTheRendererOfThatId)
{
    for (const std::string_view name : renderer_names()) {
        renderer_backend(name)();
        const TGraphicsBackend* backend = graphics_backend();
        ASSERT_NE(backend, nullptr) << name;
        EXPECT_EQ(backend->renderer()->id(), name);
    }
}

TEST(CommandLine, OptionsCombineAndTheLastScaleWins)
{
    const CommandLine line = parse({"--window-scale", "3", "--fullscreen", "--window-scale=8"});
    EXPECT_EQ(line.action, CommandAction::Run);
    EXPECT_TRUE(line.options.fullscreen);
    EXPECT_EQ(line.options.window_scale, 8);
    EXPECT_EQ(parse({"--window-scale", "1"}).options.window_scale, 1);
}

TEST(CommandLine, HelpAndVersionEndTheReading)
{
    EXPECT_EQ(parse({"--help", "--bogus"}).action, CommandAction::Help);
    EXPECT_EQ(parse({"--fullscreen", "--version"}).action, CommandAction::Version);
    EXPECT_EQ(version_text(), "Vantrel 0.3\n");
    // The first bad argument is reported even when --help follows it.
    EXPECT_EQ(parse({"--bogus", "--help"}).action, CommandAction::Fail);
}

TEST(CommandLine, HelpListsEveryOptionAndKeyFromTheTables)
{
    const std::string help = help_text();
    EXPECT_TRUE(help.starts_with("Usage: vantrel [OPTION]...\n"));
    EXPECT_NE(help.find("  --window-scale N  "), std::string::npos);
    for (const CommandOption& o : command_options()) {
        EXPECT_NE(help.find(o.flag), std::string::npos) << o.flag;
        EXPECT_NE(help.find(o.description), std::string::npos) << o.flag;
    }
    for (const KeyBinding& k : key_bindings()) {
        const size_t at = help.find(k.keys);
        ASSERT_NE(at, std::string::npos) << k.keys;
        EXPECT_NE(help.find(k.action, at), std::string::npos) << k.action;
    }
}

TEST(CommandLine, BadInputNamesTheProblem)
{
    struct Case {
        std::vector<std::string_view> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--window-scale", "0"}, "--window-scale takes a whole number from 1 to 8, not '0'"},
        {{"--window-scale", "9"}, "--window-scale takes a whole number from 1 to 8, not '9'"},
        {{"--window-scale", "abc"}, "--window-scale takes a whole number from 1 to 8, not 'abc'"},
        {{"--window-scale=02"}, "--window-scale takes a whole number from 1 to 8, not '02'"},
        {{"--window-scale="}, "--window-scale takes a whole number from 1 to 8, not ''"},
        {{"--window-scale", "-1"}, "--window-scale takes a whole number from 1 to 8, not '-1'"},
        {{"--fullscreen", "--window-scale"}, "--window-scale needs a value, a whole number from 1 to 8"},
        {{"--full"}, "unknown option '--full'"},
        {{"-h"}, "unknown option '-h'"},
        {{"fly"}, "unexpected argument 'fly'"},
        {{"--renderer", "vulkan"}, "unknown renderer 'vulkan'; the renderers are " + renderer_list},
        {{"--renderer="}, "unknown renderer ''; the renderers are " + renderer_list},
        {{"--renderer"}, "--renderer needs a name, one of " + renderer_list},
    };
    for (const Case& c : cases) {
        const CommandLine line = parse(c.args);
        EXPECT_EQ(line.action, CommandAction::Fail) << c.message;
        EXPECT_EQ(line.error, c.message);
    }
}

} // namespace
} // namespace vantrel
