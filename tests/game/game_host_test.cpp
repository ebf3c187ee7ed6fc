// A host that calls one pass per frame of its own clock must see the game
// the ordinary loop shows: the same frames, state, random draws and music,
// pass for pass, and the same end on Escape or a close request.
#include "game_run.h"

#include "../audio/fake_output.h"
#include "audio/audio.h"
#include "game/random.h"
#include "game/state.h"
#include "gfx/graphics.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using test::GameRun;

constexpr int PASSES = 300;

uint64_t frame_hash(const Ref<TPixmap>& f)
{
    uint64_t h = 0xcbf29ce484222325ULL;
    for (int32_t y = 0; y < f->height; ++y) {
        const auto* row = f->pixels + static_cast<ptrdiff_t>(y) * f->pitch;
        for (int32_t x = 0; x < f->width * 4; ++x)
            h = (h ^ row[x]) * 0x100000001b3ULL;
    }
    return h;
}

// The music loops this run started, in order; the channels an earlier run
// in this process left behind are skipped, and channel numbers with them.
std::string pass_line(GameRun& game, int pass, size_t earlier_channels)
{
    const GameVars& v = game_vars;
    char text[400];
    std::snprintf(text, sizeof text, "%d %016llx %d %d %d %a %a %a %a %a %a %a r%d", pass,
                  static_cast<unsigned long long>(frame_hash(game.last_frame())), v.last_ms,
                  v.now_ms, v.music_elapsed_ms, double(v.bird_x), double(v.bird_y),
                  double(v.left_wing), double(v.right_wing), double(v.fatigue), double(v.wind),
                  double(v.island_scale), get_random_state());
    std::string line = text;
    const std::vector<test::ChannelLoop> channels = test::music_on_channels();
    for (size_t i = earlier_channels; i < channels.size(); ++i)
        line += " m" + std::to_string(channels[i].loop);
    return line;
}

// Climbs, turns, zooms in: enough to move every part of the trace.
void script(GameRun& game, std::vector<std::string>& trace)
{
    game.at_frame(10, [&game] { game.press(platform::SCANCODE_Z); });
    game.at_frame(120, [&game] { game.release(platform::SCANCODE_Z); });
    game.at_frame(130, [&game] { game.press(platform::SCANCODE_LEFT); });
    game.at_frame(180, [&game] { game.release(platform::SCANCODE_LEFT); });
    game.at_frame(200, [&game] { game.press(platform::SCANCODE_A); });
    game.at_frame(260, [&game] { game.release(platform::SCANCODE_A); });
    const size_t earlier = test::music_on_channels().size();
    game.every_frame([&game, &trace, earlier](int pass) {
        trace.push_back(pass_line(game, pass, earlier));
    });
}

std::vector<std::string> ordinary_trace()
{
    std::vector<std::string> trace;
    GameRun game;
    script(game, trace);
    game.end_after(PASSES);
    EXPECT_EQ(game.run(), 0);
    EXPECT_FALSE(host_paced());
    return trace;
}

// The host's frame clock: 60 Hz in whole milliseconds, 16, 17, 17.
void host_frame_tick(GameRun& game, int pass)
{
    static constexpr uint32_t STEPS[] = {16, 17, 17};
    game.clock.advance(STEPS[(pass - 1) % 3]);
}

TEST(GameHost, PassesCalledByAHostTraceTheOrdinaryLoop)
{
    ASSERT_TRUE(audio_init_with(make_ref<test::FakeOutput>(), false));
    const std::vector<std::string> expected = ordinary_trace();
    ASSERT_EQ(expected.size(), static_cast<size_t>(PASSES));

    std::vector<std::string> trace;
    GameRun game{test::Hosted{}};
    EXPECT_TRUE(host_paced());
    script(game, trace);
    game.end_after(PASSES);
    int passes = 0;
    for (;;) {
        const uint32_t before = game.clock.now_ms();
        if (!game.step())
            break;
        ASSERT_EQ(game.clock.now_ms(), before) << "pass " << passes + 1 << " slept itself";
        ++passes;
        host_frame_tick(game, passes);
        ASSERT_LE(passes, PASSES) << "Escape did not end the hosted game";
    }
    EXPECT_EQ(passes, PASSES);
    EXPECT_FALSE(game.step()) << "a pass after the end";
    ASSERT_EQ(trace.size(), expected.size());
    for (size_t i = 0; i < trace.size(); ++i)
        ASSERT_EQ(trace[i], expected[i]) << "pass " << i + 1;
}

TEST(GameHost, ACloseRequestEndsTheHostedGame)
{
    ASSERT_TRUE(audio_init_with(make_ref<test::FakeOutput>(), false));
    GameRun game{test::Hosted{}};
    game.at_frame(5, [&game] { game.request_close(); });
    int passes = 0;
    while (game.step() && passes < 100)
        ++passes;
    EXPECT_EQ(passes, 5);
}

} // namespace
} // namespace vantrel
