// The program's ends, each in a child process: Escape and the close box end
// it with status 0 through game_entry, and a display without OpenGL ends it
// with one line on standard error and a non-zero status.
#include "game/game_main.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "input/events.h"
#include "input/hooks.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vantrel {
namespace {

uint32_t game_window()
{
    auto record = gl_graphics_driver()->current_record();
    return record && record->window ? record->window->id() : 0;
}

// The first flips come from the window's own set-up, before the loop; an
// Escape pushed there is hit before the first pass.
Ref<TObject> press_escape(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    platform::inject_key(game_window(), platform::SCANCODE_ESCAPE, true);
    platform::inject_key(game_window(), platform::SCANCODE_ESCAPE, false);
    return data;
}

int frames_seen = 0;

// Lets the game run ten frames, then asks its window to close.
Ref<TObject> close_after_ten(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    if (++frames_seen == 12) // two set-up flips, then ten passes
        platform::inject_window_notice(game_window(), platform::WindowNotice::Close);
    return data;
}

void run_game_with_flip_hook(THookFunction hook)
{
    events_init();
    graphics_init(); // the flip hook exists from here
    attach_hook(flip_hook_id(), hook, Ref<TObject>(), 0);
    game_entry();
}

class GameExitTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(GameExitTest, EscapeEndsTheProgramWithStatus0)
{
    EXPECT_EXIT(run_game_with_flip_hook(&press_escape), ::testing::ExitedWithCode(0), "");
}

TEST_F(GameExitTest, CloseBoxEndsTheProgramWithStatus0)
{
    EXPECT_EXIT(run_game_with_flip_hook(&close_after_ten), ::testing::ExitedWithCode(0), "");
}

// game_main runs once: a second call neither opens a window nor loops.
void run_game_main_twice()
{
    events_init();
    graphics_init();
    attach_hook(flip_hook_id(), &press_escape, Ref<TObject>(), 0);
    if (game_main() != 0)
        std::exit(1);
    const int32_t seq = graphics_seq();
    if (game_main() != 0 || graphics_seq() != seq)
        std::exit(2);
    std::exit(7);
}

TEST_F(GameExitTest, GameMainRunsOnce)
{
    EXPECT_EXIT(run_game_main_twice(), ::testing::ExitedWithCode(7), "");
}

TEST_F(GameExitTest, NoOpenGLWindowSaysWhyAndFails)
{
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "dummy", 1); // a driver without OpenGL
            game_entry();
        },
        ::testing::ExitedWithCode(1),
        "^vantrel: cannot open the 640 x 480 OpenGL window: [^\n]*OpenGL[^\n]*\n$");
}

} // namespace
} // namespace vantrel
