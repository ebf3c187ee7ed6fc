// Signals sent to the real program on the tests' X server: SIGINT and SIGHUP
// end it like the close box (status 0, nothing on standard error, window
// gone); SIGTERM ends it with "Received Signal" and status 255. Skipped
// without a display or without xdotool.
#include "game_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

using vantrel::test::GameProcess;
using vantrel::test::run;
using vantrel::test::sleep_ms;

struct Outcome {
    int status;
    std::string error_text;
    bool window_was_open;
    bool window_gone;
};

// Starts the game, lets it fly for a second, sends `sig`.
Outcome signal_the_game(int sig)
{
    GameProcess game({"SDL_AUDIODRIVER=dummy"},
                     testing::TempDir() + "vantrel_signal_stderr_" + std::to_string(sig));
    const std::string wid = game.window();
    if (wid.empty())
        return {-1, "", false, false};
    sleep_ms(1000);
    kill(game.pid(), sig);
    Outcome outcome{game.wait_exit(), "", true, false};
    outcome.error_text = game.error_text();
    outcome.window_gone = !run("xwininfo -id " + wid) && GameProcess::windows().empty();
    return outcome;
}

class GameSignalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
        if (!run("command -v xdotool") || !run("command -v xwininfo"))
            GTEST_SKIP() << "xdotool or xwininfo is not installed";
    }
};

// Status 0, nothing on standard error and the window gone, as after the close box.
void expect_close_box_ending(int sig)
{
    const Outcome outcome = signal_the_game(sig);
    ASSERT_TRUE(outcome.window_was_open) << "no game window appeared";
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.error_text, "");
    EXPECT_TRUE(outcome.window_gone);
}

TEST_F(GameSignalTest, SigintEndsTheGameLikeTheCloseBox) { expect_close_box_ending(SIGINT); }

TEST_F(GameSignalTest, SighupEndsTheGameLikeTheCloseBox) { expect_close_box_ending(SIGHUP); }

TEST_F(GameSignalTest, SigtermIsAFatalSignal)
{
    const Outcome outcome = signal_the_game(SIGTERM);
    ASSERT_TRUE(outcome.window_was_open) << "no game window appeared";
    EXPECT_EQ(outcome.status, 255);
    EXPECT_EQ(outcome.error_text, "Received Signal\n");
    EXPECT_TRUE(outcome.window_gone);
}

} // namespace
