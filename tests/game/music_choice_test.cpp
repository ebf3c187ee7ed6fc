// The music choice table: the first cycle, a resting bird, each layer's
// conditions, the carried-over choice, the high-bird loop, and the coin
// tosses drawn only when the cycle does not return early.
#include "draws.h"
#include "game/music_choice.h"
#include "game/random.h"
#include "game/state.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel {
namespace {

std::vector<int32_t> started(const MusicCycle& c)
{
    return {c.started, c.started + c.started_count};
}

class MusicChoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        set_random_state(RANDOM_START_STATE);
    }
    void TearDown() override { reset_game_state(); }

    // A bird in mid-air whose followers equal what they follow.
    static void still_in_air(float y)
    {
        bird_y = target_y = y;
        left_wing = target_left = y;
        right_wing = target_right = y;
    }
    // Start the generator where the three coin tosses come out as given.
    static void coins(bool a, bool b, bool c)
    {
        test::find_state([&] {
            return (random_int(0, 1) != 0) == a && (random_int(0, 1) != 0) == b &&
                   (random_int(0, 1) != 0) == c;
        });
    }
};

TEST_F(MusicChoiceTest, FirstCycleAt480StartsOnlyLoop8)
{
    set_followers(); // as at start-up: bird 480, followers equal
    music_elapsed_ms = 123456;
    // Hand-worked from the start state: the three tosses draw 0.4190,
    // then the next two doubles; random_int(0, 1) is 0 for a draw below 1/2.
    set_random_state(RANDOM_START_STATE);
    const int32_t t1 = random_int(0, 1), t2 = random_int(0, 1), t3 = random_int(0, 1);
    EXPECT_EQ(t1, 0);
    set_random_state(RANDOM_START_STATE);
    const MusicCycle c = plan_music_cycle();
    std::vector<int32_t> expected = {8};
    for (int32_t t : {t1, t2, t3})
        if (t)
            expected.push_back(8);
    EXPECT_EQ(started(c), expected);
    EXPECT_EQ(c.returned, 8);
    EXPECT_EQ(music_elapsed_ms, 0);
    EXPECT_EQ(get_random_state(), test::state_after_steps(RANDOM_START_STATE, 6));
}

TEST_F(MusicChoiceTest, FirstCycleStartsTwoToFiveVoices)
{
    set_followers();
    for (bool a : {false, true})
        for (bool b : {false, true})
            for (bool c : {false, true}) {
                coins(a, b, c);
                const MusicCycle cycle = plan_music_cycle();
                EXPECT_EQ(cycle.started_count, 1 + a + b + c);
                for (int i = 0; i < cycle.started_count; ++i)
                    EXPECT_EQ(cycle.started[i], 8);
                EXPECT_EQ(cycle.returned, 8);
            }
}

TEST_F(MusicChoiceTest, RestingBirdTossesNoCoin)
{
    still_in_air(439);
    target_y = 300; // followers do not matter at rest
    music_elapsed_ms = 16017;
    const MusicCycle c = plan_music_cycle();
    EXPECT_EQ(c.started_count, 0);
    EXPECT_EQ(c.returned, 8);
    EXPECT_EQ(music_elapsed_ms, 0);
    EXPECT_EQ(get_random_state(), RANDOM_START_STATE);
}

TEST_F(MusicChoiceTest, BodyLayerDroppedOrRisen)
{
    still_in_air(300);
    target_y = 299; // below bird_y: just dropped
    coins(true, false, false);
    EXPECT_EQ(started(plan_music_cycle()), (std::vector<int32_t>{8, 1}));
    target_y = 301; // just rose
    coins(true, false, false);
    EXPECT_EQ(started(plan_music_cycle()), (std::vector<int32_t>{8, 2}));
}

TEST_F(MusicChoiceTest, SinkingWingLayerSecondConditionWins)
{
    still_in_air(300);
    target_right = 299;
    coins(false, true, false);
    EXPECT_EQ(started(plan_music_cycle()), (std::vector<int32_t>{8, 3}));
    target_left = 299;
    coins(false, true, false);
    EXPECT_EQ(started(plan_music_cycle()), (std::vector<int32_t>{8, 4}));
}

TEST_F(MusicChoiceTest, RisingWingLayer)
{
    still_in_air(300);
    target_right = 301;
    coins(false, false, true);
    MusicCycle c = plan_music_cycle();
    EXPECT_EQ(started(c), (std::vector<int32_t>{8, 5}));
    EXPECT_EQ(c.returned, 5);
    target_left = 301;
    coins(false, false, true);
    c = plan_music_cycle();
    EXPECT_EQ(started(c), (std::vector<int32_t>{8, 6}));
    EXPECT_EQ(c.returned, 6);
}

TEST_F(MusicChoiceTest, ChoiceCarriesOverToLayersWithoutConditions)
{
    still_in_air(300);
    target_y = 299; // only the body layer has a condition
    coins(true, true, true);
    const MusicCycle c = plan_music_cycle();
    EXPECT_EQ(started(c), (std::vector<int32_t>{8, 1, 1, 1}));
    EXPECT_EQ(c.returned, 1);
}

TEST_F(MusicChoiceTest, AllLayersWithDifferentLoops)
{
    still_in_air(300);
    target_y = 301;      // rose: 2
    target_right = 299;  // right wing sinking: 3
    target_left = 301;   // left wing rising: 6
    coins(true, true, true);
    const MusicCycle c = plan_music_cycle();
    EXPECT_EQ(started(c), (std::vector<int32_t>{8, 2, 3, 6}));
    EXPECT_EQ(c.returned, 6);
}

TEST_F(MusicChoiceTest, HighBirdReturnsLoop7BelowY200Only)
{
    still_in_air(200);
    coins(false, false, false);
    EXPECT_EQ(plan_music_cycle().returned, 8); // exactly 200 is not high
    still_in_air(199);
    coins(false, false, false);
    MusicCycle c = plan_music_cycle();
    EXPECT_EQ(c.returned, 7);
    EXPECT_EQ(started(c), (std::vector<int32_t>{8}));
}

TEST_F(MusicChoiceTest, EveryCycleInAirDrawsThreeTosses)
{
    still_in_air(350);
    for (int i = 0; i < 50; ++i) {
        const int32_t before = get_random_state();
        plan_music_cycle();
        ASSERT_EQ(get_random_state(), test::state_after_steps(before, 6));
    }
}

} // namespace
} // namespace vantrel
