// Whole-game runs of the real main loop under an injected clock with key
// events through the real event path: how the loop ends, the pass order,
// the music timer, and the flight keys reaching the bird.
#include "game_run.h"

#include "game/game_main.h"
#include "game/random.h"
#include "game/scenery.h"
#include "game/screen.h"
#include "game/state.h"
#include "gfx/graphics2d.h"
#include "input/polled_input.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using platform::SCANCODE_ESCAPE;
using test::GameRun;

TEST(GameLoop, EscapeBeforeTheFirstPassDrawsNothing)
{
    GameRun game;
    game.tap(SCANCODE_ESCAPE);
    EXPECT_EQ(game.run(), 0);
    EXPECT_EQ(game.frame_count(), 0);
    EXPECT_EQ(bird_y, SCREEN_HEIGHT); // no flight step ran
    EXPECT_EQ(get_random_state(), RANDOM_START_STATE);
}

TEST(GameLoop, EscapeInAFrameEndsTheLoopBeforeTheNextPass)
{
    GameRun game;
    game.end_after(5);
    EXPECT_EQ(game.run(), 0);
    EXPECT_EQ(game.frame_count(), 5);
    EXPECT_EQ(bird_y, 439);
    EXPECT_NEAR(target_y, SCREEN_HEIGHT - 5 * 0.7f, 1e-3f);
}

TEST(GameLoop, CloseBoxEndsTheLoop)
{
    GameRun game;
    game.at_frame(3, [&] { game.request_close(); });
    EXPECT_EQ(game.run(), 0);
    EXPECT_EQ(game.frame_count(), 3);
    EXPECT_EQ(app_terminate_requested(), 0); // the loop took it
}

TEST(GameLoop, EscapeAndCloseInOnePassLeaveTheCloseUnread)
{
    GameRun game;
    game.at_frame(2, [&] {
        game.tap(SCANCODE_ESCAPE);
        game.request_close();
    });
    EXPECT_EQ(game.run(), 0);
    EXPECT_EQ(game.frame_count(), 2);
    EXPECT_EQ(app_terminate_requested(), 1);
}

TEST(GameLoop, PassesArePacedByTheFrameSchedule)
{
    GameRun game;
    std::vector<int32_t> now;
    game.every_frame([&](int) { now.push_back(now_ms); });
    game.end_after(7);
    game.run();
    ASSERT_EQ(now.size(), 7u);
    // The schedule runs 16, 17, 17 ms from the moment the window opened.
    int32_t total = 0;
    for (size_t i = 1; i < now.size(); ++i) {
        const int32_t step = now[i] - now[i - 1];
        EXPECT_TRUE(step == 16 || step == 17) << "step " << step;
        total += step;
    }
    EXPECT_EQ(total, 100); // six steps: 16 + 17 + 17 + 16 + 17 + 17
}

TEST(GameLoop, FirstPassStartsAMusicCycle)
{
    GameRun game; // the clock reads 100000
    std::vector<int32_t> elapsed;
    game.every_frame([&](int) { elapsed.push_back(music_elapsed_ms); });
    game.end_after(3);
    game.run();
    ASSERT_EQ(elapsed.size(), 3u);
    EXPECT_EQ(elapsed[0], 0); // set back by the cycle of pass 1
    EXPECT_GE(elapsed[1], 16);
    EXPECT_LE(elapsed[1], 17);
}

// Setting the clock past the frame schedule in a frame's flip means the flip
// does not sleep, so the next pass reads exactly that time.
TEST(GameLoop, Exactly16000MsStartsNoCycle)
{
    GameRun game;
    std::vector<int32_t> elapsed;
    game.every_frame([&](int) { elapsed.push_back(music_elapsed_ms); });
    game.at_frame(1, [&] { game.clock.set(static_cast<uint32_t>(now_ms) + 16000); });
    game.end_after(2);
    game.run();
    ASSERT_EQ(elapsed.size(), 2u);
    EXPECT_EQ(elapsed[0], 0);
    EXPECT_EQ(elapsed[1], 16000);
}

TEST(GameLoop, Then16001MsStartsOne)
{
    GameRun game;
    int32_t pass1_ms = 0;
    std::vector<int32_t> elapsed;
    game.every_frame([&](int) { elapsed.push_back(music_elapsed_ms); });
    game.at_frame(1, [&] {
        pass1_ms = now_ms;
        game.clock.set(static_cast<uint32_t>(pass1_ms) + 15984);
    });
    // The schedule now wants p1 + 16000 or 16001; 16001 is not early for either.
    game.at_frame(2, [&] { game.clock.set(static_cast<uint32_t>(pass1_ms) + 16001); });
    game.end_after(3);
    game.run();
    ASSERT_EQ(elapsed.size(), 3u);
    EXPECT_EQ(elapsed[1], 15984);
    EXPECT_EQ(now_ms - pass1_ms, 16001);
    EXPECT_EQ(elapsed[2], 0); // a cycle ran in pass 3 and set the timer back
}

TEST(GameLoop, ClockWrapBetweenPassesAddsTheTrueInterval)
{
    GameRun game(0xFFFFFF00u); // wraps about 15 passes in
    std::vector<int32_t> elapsed, now;
    game.every_frame([&](int) {
        elapsed.push_back(music_elapsed_ms);
        now.push_back(now_ms);
    });
    game.end_after(40);
    game.run();
    ASSERT_EQ(elapsed.size(), 40u);
    EXPECT_EQ(elapsed[0], 0); // a reading past 2^31 still starts the first cycle
    for (size_t i = 1; i < elapsed.size(); ++i)
        ASSERT_EQ(elapsed[i], static_cast<int32_t>(static_cast<uint32_t>(now[i]) -
                                                   static_cast<uint32_t>(now[0])));
    EXPECT_LT(static_cast<uint32_t>(now.back()), 0x1000u); // it did wrap
    EXPECT_GT(elapsed.back(), 600);
}

TEST(GameLoop, FlapKeysHeldThroughTheEventPathLiftTheBird)
{
    GameRun game;
    game.at_frame(1, [&] {
        game.press(platform::SCANCODE_Z);
        game.press(platform::SCANCODE_M);
    });
    std::vector<float> wings;
    game.every_frame([&](int) { wings.push_back(left_wing); });
    game.end_after(33);
    game.run();
    // Held from pass 1: the flight model's both-keys run (see the flight tests).
    EXPECT_EQ(left_count, 33);
    EXPECT_EQ(right_count, 33);
    EXPECT_EQ(fatigue, 129.5f);
    EXPECT_NEAR(left_wing, 395.8f, 1e-3f);
    EXPECT_LT(bird_y, 439);
    game.release(platform::SCANCODE_Z);
    game.release(platform::SCANCODE_M);
}

TEST(GameLoop, ArrowKeysFlapAndZoom)
{
    GameRun game;
    game.at_frame(1, [&] {
        game.press(platform::SCANCODE_LEFT);
        game.press(platform::SCANCODE_UP);
    });
    game.at_frame(11, [&] {
        game.release(platform::SCANCODE_LEFT);
        game.release(platform::SCANCODE_UP);
        game.press(platform::SCANCODE_RIGHT);
        game.press(platform::SCANCODE_SPACE);
    });
    float left_after_10 = 0, scale_after_10 = 0;
    game.at_frame(11, [&] {
        left_after_10 = left_count;
        scale_after_10 = island_scale;
    });
    game.end_after(15);
    game.run();
    EXPECT_EQ(left_after_10, 10);
    EXPECT_NEAR(scale_after_10, 1.010f, 1e-4f);
    EXPECT_EQ(left_count, 0);   // released: back to 0 at once
    EXPECT_EQ(right_count, 5);  // passes 11 to 15
    EXPECT_NEAR(island_scale, 1.005f, 1e-4f);
    game.release(platform::SCANCODE_RIGHT);
    game.release(platform::SCANCODE_SPACE);
}

TEST(GameLoop, LineWidthBecomes3InTheFirstFrame)
{
    GameRun game;
    EXPECT_EQ(get_line_width(), 1);
    EXPECT_EQ(get_blend_mode(), 4); // start-up leaves additive blending
    float width_in_frame_1 = 0;
    game.at_frame(1, [&] { width_in_frame_1 = get_line_width(); });
    game.end_after(1);
    game.run();
    EXPECT_EQ(width_in_frame_1, 3);
    EXPECT_EQ(get_blend_mode(), 3);
}

// Pixels of the island's area that are not saturated blue. Added light (mode
// 4) keeps the sky's full blue under the island; alpha blending (mode 3)
// mixes the island's greens in and lowers it.
int mixed_island_pixels(const Ref<TPixmap>& frame)
{
    int n = 0;
    for (int y = 100; y < 420; y += 2)
        for (int x = 360; x < SCREEN_WIDTH; x += 2)
            n += test::pixel(frame, x, y).b < 250;
    return n;
}

TEST(GameLoop, FirstFrameAddsTheIslandLaterFramesBlendIt)
{
    GameRun game;
    game.keep_frames(true);
    game.end_after(2);
    game.run();
    ASSERT_EQ(game.frames().size(), 2u);
    const Ref<TPixmap>& first = game.frames()[0];
    const Ref<TPixmap>& second = game.frames()[1];
    EXPECT_EQ(mixed_island_pixels(first), 0);
    EXPECT_GT(mixed_island_pixels(second), 2000);
    // The island is there in the first frame too: brighter than the sky.
    int lit = 0;
    for (int y = 100; y < 420; y += 2)
        for (int x = 360; x < SCREEN_WIDTH; x += 2)
            lit += test::pixel(first, x, y).g > 140;
    EXPECT_GT(lit, 2000);
}

} // namespace
} // namespace vantrel
