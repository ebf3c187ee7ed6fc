// The program's ends, each in a child process: Escape, the close box, SIGINT
// and SIGHUP end it with status 0 through game_entry, and a display without
// OpenGL ends it with one line on standard error and a non-zero status.
#include "game/game_main.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "input/events.h"
#include "input/hooks.h"
#include "platform/event_injection.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <csignal>
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

// The two set-up flips are allowed; a pass's frame is not.
Ref<TObject> count_frames_up_to_two(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    if (++frames_seen > 2)
        std::_Exit(5);
    return data;
}

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
    gl_backend_init();
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

int signal_to_raise = SIGINT;

// Lets the game run ten frames, then raises the quit signal.
Ref<TObject> signal_after_ten(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    if (++frames_seen == 12)
        raise(signal_to_raise);
    // The loop must end at the next test, before another pass is drawn.
    if (frames_seen > 13)
        std::_Exit(3);
    return data;
}

void run_game_signalled(int sig)
{
    platform::install_quit_signal_handlers();
    signal_to_raise = sig;
    run_game_with_flip_hook(&signal_after_ten);
}

TEST_F(GameExitTest, SigintEndsTheProgramLikeTheCloseBox)
{
    EXPECT_EXIT(run_game_signalled(SIGINT), ::testing::ExitedWithCode(0), "^$");
}

TEST_F(GameExitTest, SighupEndsTheProgramLikeTheCloseBox)
{
    EXPECT_EXIT(run_game_signalled(SIGHUP), ::testing::ExitedWithCode(0), "^$");
}

// A signal that arrives while the game still loads waits for the window and
// ends the loop before its first pass.
void run_game_signalled_early()
{
    platform::install_quit_signal_handlers();
    raise(SIGINT);
    frames_seen = 0;
    run_game_with_flip_hook(&count_frames_up_to_two);
}

TEST_F(GameExitTest, SigintDuringStartUpEndsTheLoopBeforeAnyPass)
{
    EXPECT_EXIT(run_game_signalled_early(), ::testing::ExitedWithCode(0), "^$");
}

// A second SIGINT before the first was read ends the process at once.
TEST_F(GameExitTest, SecondUnreadSigintKillsTheProcess)
{
    EXPECT_EXIT(
        {
            platform::install_quit_signal_handlers();
            raise(SIGINT);
            raise(SIGINT);
            std::_Exit(4);
        },
        ::testing::KilledBySignal(SIGINT), "");
}

// game_main runs once: a second call neither opens a window nor loops.
void run_game_main_twice()
{
    events_init();
    gl_backend_init();
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
