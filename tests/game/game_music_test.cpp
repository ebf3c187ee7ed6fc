// Music cycles observed in the sound layer: which loops the game starts on
// the channel table, in order, for the first cycle, a resting bird and a
// flying one. The output is a scripted device that nothing refills, so the
// started sounds stay on their channels.
#include "game_run.h"

#include "../audio/fake_output.h"
#include "audio/audio.h"
#include "game/random.h"
#include "game/state.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel {
namespace {

using test::GameRun;

// Loop numbers of the channels in use, in the order they were handed out.
std::vector<int> loops_on_channels()
{
    std::vector<int> loops;
    for (const test::ChannelLoop& c : test::music_on_channels())
        loops.push_back(c.loop);
    return loops;
}

int coin_tosses_from(int32_t state)
{
    const int32_t saved = get_random_state();
    set_random_state(state);
    int heads = 0;
    for (int i = 0; i < 3; ++i)
        heads += random_int(0, 1);
    set_random_state(saved);
    return heads;
}

class GameMusicTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Before the game's own audio_init, which then finds the output open.
        ASSERT_TRUE(audio_init_with(make_ref<test::FakeOutput>(), false));
    }
};

TEST_F(GameMusicTest, FirstCycleStartsLoop8TwoToFiveTimes)
{
    const int heads = coin_tosses_from(RANDOM_START_STATE);
    const size_t before = loops_on_channels().size();
    GameRun game;
    game.end_after(1);
    game.run();
    const auto loops = loops_on_channels();
    ASSERT_EQ(loops.size() - before, static_cast<size_t>(2 + heads));
    for (size_t i = before; i < loops.size(); ++i)
        EXPECT_EQ(loops[i], 8);
}

TEST_F(GameMusicTest, RestingBirdHearsLoop8Alone)
{
    GameRun game;
    size_t after_first = 0;
    int32_t state_before = 0;
    game.at_frame(1, [&] {
        after_first = loops_on_channels().size();
        game.clock.set(static_cast<uint32_t>(now_ms) + 16001);
    });
    game.at_frame(2, [&] { state_before = get_random_state(); });
    game.end_after(2);
    game.run();
    const auto loops = loops_on_channels();
    ASSERT_EQ(loops.size(), after_first + 1);
    EXPECT_EQ(loops.back(), 8);
    EXPECT_EQ(bird_y, 439);
}

// The loops a cycle must start for a bird in this state with these tosses:
// the base, a layer per head, and the returned loop.
std::vector<int> expected_cycle(float by, float ty, float lw, float tl, float rw, float tr,
                                int32_t state)
{
    set_random_state(state);
    std::vector<int> loops = {8};
    int choice = 8;
    if (ty < by) choice = 1;
    if (ty > by) choice = 2;
    if (random_int(0, 1)) loops.push_back(choice);
    if (tr < rw) choice = 3;
    if (tl < lw) choice = 4;
    if (random_int(0, 1)) loops.push_back(choice);
    if (tr > rw) choice = 5;
    if (tl > lw) choice = 6;
    if (random_int(0, 1)) loops.push_back(choice);
    loops.push_back(by < 200 ? 7 : choice);
    return loops;
}

TEST_F(GameMusicTest, FlyingBirdLayersFollowItsMotion)
{
    int layered = 0; // cycles that started a loop other than 8
    for (int32_t cycle_frame : {12, 21, 34, 40}) {
        GameRun game;
        size_t before = 0;
        float by = 0, ty = 0, lw = 0, tl = 0, rw = 0, tr = 0;
        int32_t state = 0;
        game.at_frame(1, [&] {
            game.press(platform::SCANCODE_Z);
            game.press(platform::SCANCODE_M);
        });
        game.at_frame(cycle_frame - 1, [&] {
            before = loops_on_channels().size();
            state = get_random_state();
            game.clock.set(static_cast<uint32_t>(now_ms) + 16001);
        });
        // The cycle ran earlier in this pass; the bird moves after the frame.
        game.at_frame(cycle_frame, [&] {
            by = bird_y, ty = target_y, lw = left_wing, tl = target_left;
            rw = right_wing, tr = target_right;
        });
        game.end_after(cycle_frame);
        game.run();
        game.release(platform::SCANCODE_Z);
        game.release(platform::SCANCODE_M);
        // The wind's draw of the frame before comes first.
        set_random_state(state);
        if (random_int(0, 1000) == 50)
            random_float();
        const auto expected = expected_cycle(by, ty, lw, tl, rw, tr, get_random_state());
        const auto loops = loops_on_channels();
        ASSERT_GE(loops.size(), before);
        EXPECT_EQ(std::vector<int>(loops.begin() + static_cast<long>(before), loops.end()),
                  expected)
            << "cycle in pass " << cycle_frame;
        EXPECT_NE(by, 439);
        for (int loop : expected)
            layered += loop != 8;
    }
    EXPECT_GT(layered, 0);
}

} // namespace
} // namespace vantrel
