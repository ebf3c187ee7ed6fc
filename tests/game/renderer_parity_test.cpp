// The scripted flight of game_determinism_test on both renderers at once:
// this process flies it on the ES 2.0 renderer while a child (the same
// program) flies it on the first renderer and streams each pass's state
// line and frame through a FIFO. The states must be identical pass by
// pass; each frame must have at least 99.5 % of its pixels identical. The
// measured shares are printed, and VANTREL_PARITY_WORST_OUT names a picture
// of the frame with the lowest share.
#include "game_run.h"

#include "../audio/fake_output.h"
#include "audio/audio.h"
#include "game/random.h"
#include "game/state.h"
#include "gfx/gles2/gles2_render_driver.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using test::GameRun;

constexpr int PASSES = 1000;

// Every game variable and the generator, exactly, as a fixed-size record.
struct PassState {
    int32_t ints[4];
    float floats[17];
};

PassState pass_state()
{
    const GameVars& v = game_vars;
    return PassState{{v.last_ms, v.now_ms, v.music_elapsed_ms, get_random_state()},
                     {v.bird_x, v.bird_y, v.left_wing, v.left_count, v.right_wing, v.right_count,
                      v.target_y, v.target_left, v.target_right, v.left_count_t, v.right_count_t,
                      v.fatigue, v.wind, v.wind_target, v.island_x, v.island_y, v.island_scale}};
}

bool same(const PassState& a, const PassState& b)
{
    return std::equal(std::begin(a.ints), std::end(a.ints), std::begin(b.ints)) &&
           std::equal(std::begin(a.floats), std::end(a.floats), std::begin(b.floats));
}

bool write_all(int fd, const void* data, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool read_all(int fd, void* data, size_t size)
{
    auto* p = static_cast<uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

size_t frame_bytes(const Ref<TPixmap>& f) { return static_cast<size_t>(f->width) * f->height * 4; }

std::vector<uint8_t> packed(const Ref<TPixmap>& f)
{
    std::vector<uint8_t> out(frame_bytes(f));
    const size_t row = static_cast<size_t>(f->width) * 4;
    for (int32_t y = 0; y < f->height; ++y)
        std::copy_n(f->pixel_ptr(0, y), row, &out[row * y]);
    return out;
}

// The child: the flight on the first renderer, written to the FIFO.
void stream_flight(const char* fifo)
{
    const int fd = ::open(fifo, O_WRONLY);
    ASSERT_GE(fd, 0) << "cannot open " << fifo;
    ASSERT_TRUE(audio_init_with(make_ref<test::FakeOutput>(), false));
    GameRun game;
    test::fly_scripted_flight(game);
    game.every_frame([&](int) {
        const PassState state = pass_state();
        const std::vector<uint8_t> frame = packed(game.last_frame());
        ASSERT_TRUE(write_all(fd, &state, sizeof state) && write_all(fd, frame.data(), frame.size()));
    });
    game.end_after(PASSES);
    EXPECT_EQ(game.run(), 0);
    ::close(fd);
}

struct Share {
    double lowest = 1.0;
    int lowest_pass = 0;
    std::vector<uint8_t> lowest_ours, lowest_theirs;
    int identical_frames = 0;
    int largest_difference = 0; // of one channel
    double total = 0;
};

// Nearly every row of two frames is the same, so whole rows are compared
// first and pixels only in rows that differ: under the sanitizers a loop over
// every channel of a thousand frames costs most of the test's time.
void compare(const std::vector<uint8_t>& ours, const std::vector<uint8_t>& theirs, int pass,
             Share& share)
{
    constexpr size_t ROW = 640 * 4;
    size_t same_pixels = 0;
    for (size_t row = 0; row < ours.size(); row += ROW) {
        const size_t end = std::min(row + ROW, ours.size());
        if (std::memcmp(&ours[row], &theirs[row], end - row) == 0) {
            same_pixels += (end - row) / 4;
            continue;
        }
        for (size_t i = row; i < end; i += 4) {
            bool equal = true;
            for (size_t c = 0; c < 3; ++c) {
                const int d = std::abs(ours[i + c] - theirs[i + c]);
                share.largest_difference = std::max(share.largest_difference, d);
                equal = equal && d == 0;
            }
            same_pixels += equal;
        }
    }
    const double s = static_cast<double>(same_pixels) / static_cast<double>(ours.size() / 4);
    share.total += s;
    share.identical_frames += s == 1.0;
    if (s < share.lowest) {
        share.lowest = s;
        share.lowest_pass = pass;
        share.lowest_ours = ours;
        share.lowest_theirs = theirs;
    }
}

// Both renderers' frames with the lowest share side by side, the differing
// pixels in magenta between them, as a PPM picture: for a person to look at.
void write_worst(const char* path, const Share& share, int width, int height)
{
    FILE* out = std::fopen(path, "wb");
    if (!out || share.lowest_ours.empty()) {
        if (out)
            std::fclose(out);
        return;
    }
    std::fprintf(out, "P6 %d %d 255\n", width * 3, height);
    for (int y = 0; y < height; ++y)
        for (int column = 0; column < 3 * width; ++column) {
            const size_t i = (static_cast<size_t>(y) * width + column % width) * 4;
            const uint8_t* a = &share.lowest_ours[i];
            const uint8_t* b = &share.lowest_theirs[i];
            const bool differ = a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
            const uint8_t magenta[3] = {255, 0, 255}, black[3] = {0, 0, 0};
            const uint8_t* shown = column < width ? a : column >= 2 * width ? b
                                   : differ ? magenta : black;
            std::fwrite(shown, 1, 3, out);
        }
    std::fclose(out);
}

TEST(RendererParity, ScriptedFlightHasTheSameStatesAndNearlyTheSameFrames)
{
    if (const char* fifo = std::getenv("VANTREL_PARITY_FIFO")) {
        stream_flight(fifo);
        return;
    }
    char dir[] = "/tmp/vantrel-parity-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string fifo = std::string(dir) + "/frames";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    char self[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string command = "VANTREL_TEST_RENDERER=gl VANTREL_PARITY_FIFO=" + fifo + " '" +
                                self + "' --gtest_filter=RendererParity.* > /dev/null";
    FILE* child = ::popen(command.c_str(), "r");
    ASSERT_NE(child, nullptr);
    const int fd = ::open(fifo.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);

    ::setenv("VANTREL_TEST_RENDERER", "gles2", 1);
    ASSERT_TRUE(audio_init_with(make_ref<test::FakeOutput>(), false));
    Share share;
    int state_differences = 0;
    int64_t draw_calls = 0;
    {
        GameRun game;
        test::fly_scripted_flight(game);
        game.every_frame([&](int pass) {
            const std::vector<uint8_t> ours = packed(game.last_frame());
            PassState theirs_state{};
            std::vector<uint8_t> theirs(ours.size());
            ASSERT_TRUE(read_all(fd, &theirs_state, sizeof theirs_state) &&
                        read_all(fd, theirs.data(), theirs.size()))
                << "the first renderer's run ended at pass " << pass;
            state_differences += !same(pass_state(), theirs_state);
            draw_calls += gles2_render_driver()->take_draw_calls();
            compare(ours, theirs, pass, share);
        });
        game.end_after(PASSES);
        EXPECT_EQ(game.run(), 0);
        EXPECT_EQ(game.frame_count(), PASSES);
    }
    ::close(fd);
    EXPECT_EQ(::pclose(child), 0) << "the first renderer's run failed";
    ::unlink(fifo.c_str());
    ::rmdir(dir);

    std::printf("identical frames %d of %d; lowest share %.5f (pass %d); mean %.5f; largest "
                "channel difference %d\n",
                share.identical_frames, PASSES, share.lowest, share.lowest_pass,
                share.total / PASSES, share.largest_difference);
    std::printf("ES 2.0 draw calls per frame: %.1f\n", static_cast<double>(draw_calls) / PASSES);
    if (const char* path = std::getenv("VANTREL_PARITY_WORST_OUT"))
        write_worst(path, share, 640, 480);
    EXPECT_EQ(state_differences, 0);
    EXPECT_GE(share.lowest, 0.995);
}

} // namespace
} // namespace vantrel
