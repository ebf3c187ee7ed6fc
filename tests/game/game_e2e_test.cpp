// The real program end to end on the tests' X server: its window's inside
// is 640 x 480; xdotool holds Z and M in it and the bird rises in the frames
// read back from the window; Escape ends it with status 0; the window
// carries its icon for the window manager; with SDL's disk audio
// driver the music of the first cycle reaches the output file. Skipped
// without a display or without xdotool.
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
#include <utility>
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

// The window's inside, as the X server has it.
std::pair<int, int> client_size(const std::string& window)
{
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return {0, 0};
    XWindowAttributes attributes{};
    const bool known = XGetWindowAttributes(d, std::stoul(window), &attributes) != 0;
    XCloseDisplay(d);
    return known ? std::pair{attributes.width, attributes.height} : std::pair{0, 0};
}

TEST_F(GameEndToEnd, HoldingBothFlapKeysLiftsTheBirdAndEscapeQuits)
{
    GameProcess game({"SDL_AUDIODRIVER=dummy"});
    const std::string wid = game.window();
    ASSERT_FALSE(wid.empty()) << "no game window appeared";
    EXPECT_EQ(client_size(wid), std::pair(SCREEN_WIDTH, SCREEN_HEIGHT));
    // The exact 64 x 64 is the icon test's; Wine hands the window manager
    // its own 32 x 32 rendering of the same icon.
    const auto icon = vantrel::testing::window_icon_property(std::stoull(wid));
    ASSERT_GE(icon.size(), 2u) << "the window has no icon";
    EXPECT_EQ(icon[0], icon[1]);
    EXPECT_GE(icon[0], 32u);
    EXPECT_GE(icon.size(), 2u + icon[0] * icon[1]);
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

// Sample values of the 16-bit disk-audio file written so far, and how many
// of them stand clearly above silence.
struct DiskAudio {
    size_t values = 0;
    size_t loud = 0;
};

DiskAudio read_disk_audio(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    DiskAudio audio;
    audio.values = bytes.size() / 2;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                            (static_cast<uint8_t>(bytes[i + 1]) << 8));
        audio.loud += v > 256 || v < -256;
    }
    return audio;
}

TEST_F(GameEndToEnd, FirstMusicCycleReachesTheDiskAudioDriver)
{
    // Half a second of 44100 Hz stereo clearly above silence. The game is
    // given time for it rather than a fixed wait: on a loaded machine its
    // start-up, and the silence the device writes meanwhile, take longer.
    constexpr size_t HEARD = 44100;
    const std::string file = testing::TempDir() + "vantrel_disk_audio_" +
                             std::to_string(getpid()) + ".raw";
    std::remove(file.c_str());
    DiskAudio audio;
    {
        GameProcess game({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + file});
        const std::string wid = game.window();
        ASSERT_FALSE(wid.empty()) << "no game window appeared";
        ASSERT_TRUE(run("xdotool windowfocus --sync " + wid));
        for (int waited = 0; waited < 20000 && audio.loud < HEARD; waited += 250) {
            sleep_ms(250);
            audio = read_disk_audio(file);
        }
        ASSERT_TRUE(run("xdotool key Escape"));
        EXPECT_EQ(game.wait_exit(), 0);
    }
    audio = read_disk_audio(file);
    std::remove(file.c_str());
    EXPECT_GE(audio.loud, HEARD) << "the loops of the first cycle are not heard ("
                                 << audio.values << " values written)";
}

} // namespace
