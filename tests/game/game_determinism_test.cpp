// The game's behaviour as fingerprints: a scripted flight of 1000 passes
// under the manual clock, each pass's frame read back and hashed, and each
// pass's state (every game variable, the generator's state and the music
// loops started on the channel table) hashed in order. The expected values
// were taken from the released game; a change that moves one pixel, one
// random draw or one music choice changes them. When a change is meant to
// alter what the game shows or does, the new values are taken from this
// test's output and the reason goes in the commit message.
//
// The pass-by-pass trace behind the fingerprints (each frame's own hash and
// the state's exact values) is written to VANTREL_TRACE_OUT when that is
// set, and compared with the file named by VANTREL_TRACE_REFERENCE: a build
// for another platform shows the first pass where it parts from the other.
#include "game_run.h"

#include "../audio/fake_output.h"
#include "audio/audio.h"
#include "game/random.h"
#include "game/state.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using test::GameRun;

class Fnv1a {
public:
    void add(const void* data, size_t size)
    {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i)
            hash_ = (hash_ ^ p[i]) * 0x100000001b3ULL;
    }
    template <class T>
    void add_value(const T& v) { add(&v, sizeof v); }
    uint64_t value() const { return hash_; }

private:
    uint64_t hash_ = 0xcbf29ce484222325ULL;
};

void append(std::string& line, const char* format, auto value)
{
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    line += text;
}

// Which loop each channel in use plays, in channel order (0: not a loop).
void add_music(Fnv1a& h, std::string& line)
{
    for (const test::ChannelLoop& c : test::music_on_channels()) {
        h.add_value(c.channel);
        h.add_value(c.loop);
        append(line, " c%u", c.channel);
        append(line, ":%d", c.loop);
    }
}

void add_state(Fnv1a& h, std::string& line)
{
    // Field by field: the record's padding is not part of the state.
    const GameVars& v = game_vars;
    for (int32_t x : {v.last_ms, v.now_ms, v.music_elapsed_ms}) {
        h.add_value(x);
        append(line, " %d", x);
    }
    for (float x : {v.bird_x, v.bird_y, v.left_wing, v.left_count, v.right_wing, v.right_count,
                    v.target_y, v.target_left, v.target_right, v.left_count_t, v.right_count_t,
                    v.fatigue, v.wind, v.wind_target, v.island_x, v.island_y, v.island_scale}) {
        h.add_value(x);
        append(line, " %a", static_cast<double>(x)); // exact, unlike %g
    }
    const auto random_state = get_random_state();
    h.add_value(random_state);
    append(line, " r%d", random_state);
}

std::vector<std::string> read_lines(const char* path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The first pass where the trace parts from the reference, or "" when the
// two agree.
std::string first_difference(const std::vector<std::string>& trace, const char* reference_path)
{
    const std::vector<std::string> reference = read_lines(reference_path);
    if (reference.empty())
        return std::string("no reference trace in ") + reference_path;
    for (size_t i = 0; i < trace.size() || i < reference.size(); ++i) {
        const std::string ours = i < trace.size() ? trace[i] : "(none)";
        const std::string theirs = i < reference.size() ? reference[i] : "(none)";
        if (ours != theirs)
            return "trace line " + std::to_string(i + 1) + ":\n  here:      " + ours + "\n  reference: " + theirs;
    }
    return "";
}

// Climbs, glides to each side, zooms in and out, rests.
void script_flight(GameRun& game)
{
    auto hold = [&](int from, int to, int32_t scancode) {
        game.at_frame(from, [&game, scancode] { game.press(scancode); });
        game.at_frame(to, [&game, scancode] { game.release(scancode); });
    };
    hold(20, 200, platform::SCANCODE_Z);
    hold(20, 200, platform::SCANCODE_M);
    hold(260, 320, platform::SCANCODE_LEFT);
    hold(380, 440, platform::SCANCODE_RIGHT);
    hold(450, 520, platform::SCANCODE_A);
    hold(600, 650, platform::SCANCODE_SPACE);
    hold(700, 900, platform::SCANCODE_Z);
    hold(705, 880, platform::SCANCODE_M);
}

TEST(GameDeterminism, ScriptedFlightFramesAndStateMatchTheReleasedGame)
{
    ASSERT_TRUE(audio_init_with(make_ref<test::FakeOutput>(), false));
    GameRun game;
    script_flight(game);
    Fnv1a frames, state;
    std::vector<std::string> trace;
    game.every_frame([&](int pass) {
        const Ref<TPixmap>& f = game.last_frame();
        Fnv1a frame;
        for (int32_t y = 0; y < f->height; ++y) {
            const auto* row = f->pixels + static_cast<ptrdiff_t>(y) * f->pitch;
            frames.add(row, static_cast<size_t>(f->width) * 4);
            frame.add(row, static_cast<size_t>(f->width) * 4);
        }
        std::string line = std::to_string(pass);
        append(line, " frame %016" PRIx64, frame.value());
        add_state(state, line);
        add_music(state, line);
        trace.push_back(std::move(line));
    });
    game.end_after(1000);
    EXPECT_EQ(game.run(), 0);
    EXPECT_EQ(game.frame_count(), 1000);
    std::printf("frames %016" PRIx64 "  state %016" PRIx64 "\n", frames.value(), state.value());
    EXPECT_EQ(frames.value(), 0x13cc5c081010a123ULL);
    EXPECT_EQ(state.value(), 0x6d29304def2a31f8ULL);
    if (const char* out = std::getenv("VANTREL_TRACE_OUT")) {
        std::ofstream file(out);
        for (const std::string& line : trace)
            file << line << '\n';
        EXPECT_TRUE(file.good()) << "cannot write " << out;
    }
    if (const char* reference = std::getenv("VANTREL_TRACE_REFERENCE")) {
        EXPECT_EQ(first_difference(trace, reference), "");
    }
}

} // namespace
} // namespace vantrel
