// Opening graphics where nobody could see the window: each case runs in a
// child process of its own, since the video system starts once per process.
#include "gfx/gl/gl_backend.h"
#include "gfx/graphics.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vantrel;

namespace {

// Opens the game's window and reports the outcome as the exit status: 0 for
// no graphics (with the reason on stderr), 3 for a window.
[[noreturn]] void open_and_report()
{
    gl_backend_init();
    graphics_init();
    const Ref<TGraphics> g = open_graphics(640, 480, 0, 60, 0);
    std::fprintf(stderr, "reason: %s\n", last_graphics_error().to_bytes().c_str());
    std::fflush(stderr);
    std::_Exit(g ? 3 : 0);
}

class NoDisplay : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(NoDisplay, WithoutDisplayOrDriverTheFallbackIsNoWindow)
{
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            unsetenv("SDL_VIDEODRIVER");
            open_and_report();
        },
        ::testing::ExitedWithCode(0), "reason: No display to open a window on \\(.*not available");
}

// An empty SDL_VIDEODRIVER names no driver: the game must not fall back to
// an invisible one and run where nobody can see it or close it.
TEST_F(NoDisplay, AnEmptyDriverVariableIsTheSameAsNone)
{
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            setenv("SDL_VIDEODRIVER", "", 1);
            open_and_report();
        },
        ::testing::ExitedWithCode(0), "reason: No display to open a window on \\(.*not available");
}

TEST_F(NoDisplay, ANamedDriverThatCannotStartGivesItsMessage)
{
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            setenv("SDL_VIDEODRIVER", "x11", 1);
            open_and_report();
        },
        ::testing::ExitedWithCode(0), "reason: Cannot start video: .*x11 not available");
}

TEST_F(NoDisplay, ADriverWithoutOpenGLGivesNoWindow)
{
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            open_and_report();
        },
        ::testing::ExitedWithCode(0), "reason: .+");
}

TEST_F(NoDisplay, AnInvisibleDriverNamedByTheUserIsHonoured)
{
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            setenv("SDL_VIDEODRIVER", "offscreen", 1);
            open_and_report();
        },
        ::testing::ExitedWithCode(3), "reason: \n");
}

} // namespace
