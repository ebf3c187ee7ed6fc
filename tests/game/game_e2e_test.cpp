// The real program end to end on the tests' X server: xdotool holds Z and M
// in its window and the bird rises in the frames read back from the window;
// Escape ends it with status 0; the window carries its 64 x 64 icon for the
// window manager; with SDL's disk audio driver the music of
// the first cycle reaches the output file. Skipped without a display or
// without xdotool.
#include "game_process.h"
#include "game/screen.h"
#include "x11_window_icon.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool, Status) would break its headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using vantrel::SCREEN_HEIGHT;
using vantrel::SCREEN_WIDTH;
using vantrel::test::GameProcess;
using vantrel::test::output_of;
using vantrel::test::run;
using vantrel::test::sleep_ms;

// Top of the bird's white spine: the highest row of a vertical run of at
// least 15 white pixels in the window's read-back; -1 when none.
int spine_top(const std::string& window)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return -1;
    XImage* img = XGetImage(d, std::stoul(window), 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, AllPlanes, ZPixmap);
    int top = -1;
    if (img) {
        for (int x = 65; x < 576 && top < 0; ++x) {
            int run_length = 0;
            for (int y = 0; y < SCREEN_HEIGHT; ++y) {
                const bool white = (XGetPixel(img, x, y) & 0xFFFFFF) == 0xFFFFFF;
                run_length = white ? run_length + 1 : 0;
                if (run_length == 15) {
                    top = y - 14;
                    break;
                }
            }
        }
        XDestroyImage(img);
    }
    XCloseDisplay(d);
    return top;
}

class GameEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
        if (!run("command -v xdotool"))
            GTEST_SKIP() << "xdotool is not installed";
    }
};

TEST_F(GameEndToEnd, HoldingBothFlapKeysLiftsTheBirdAndEscapeQuits)
{
    GameProcess game({"SDL_AUDIODRIVER=dummy"});
    const std::string wid = game.window();
    ASSERT_FALSE(wid.empty()) << "no game window appeared";
    const auto icon = vantrel::testing::window_icon_property(std::stoull(wid));
    ASSERT_EQ(icon.size(), 2u + 64u * 64u) << "the window has no 64 x 64 icon";
    EXPECT_EQ(icon[0], 64u);
    ASSERT_TRUE(run("xdotool windowfocus --sync " + wid));
    sleep_ms(1500); // the bird settles at the bottom: body 439, spine from 429
    const int resting = spine_top(wid);
    EXPECT_GE(resting, 420);
    ASSERT_TRUE(run("xdotool keydown z m"));
    int highest = resting;
    for (int i = 0; i < 40; ++i) { // about four seconds of flapping
        sleep_ms(100);
        const int top = spine_top(wid);
        if (top >= 0 && top < highest)
            highest = top;
    }
    run("xdotool keyup z m");
    EXPECT_LT(highest, resting - 20) << "resting spine top " << resting;
    ASSERT_TRUE(run("xdotool key Escape"));
    EXPECT_EQ(game.wait_exit(), 0);
}

TEST_F(GameEndToEnd, FirstMusicCycleReachesTheDiskAudioDriver)
{
    const std::string file = testing::TempDir() + "vantrel_disk_audio.raw";
    std::remove(file.c_str());
    {
        GameProcess game({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + file});
        const std::string wid = game.window();
        ASSERT_FALSE(wid.empty()) << "no game window appeared";
        ASSERT_TRUE(run("xdotool windowfocus --sync " + wid));
        sleep_ms(2000);
        ASSERT_TRUE(run("xdotool key Escape"));
        EXPECT_EQ(game.wait_exit(), 0);
    }
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // 44100 Hz, 16-bit stereo: at least one second written.
    ASSERT_GE(bytes.size(), 44100u * 4);
    size_t loud = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                            (static_cast<uint8_t>(bytes[i + 1]) << 8));
        loud += v > 256 || v < -256;
    }
    EXPECT_GT(loud, bytes.size() / 2 / 10) << "the loops of the first cycle are not heard";
    std::remove(file.c_str());
}

} // namespace
