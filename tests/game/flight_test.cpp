// Long runs of the flight model against values worked out by hand from its
// rules: rest, both wings, a held key's glide, releases, clamps, zoom, wind.
#include "game/flight.h"
#include "game/random.h"
#include "game/screen.h"
#include "game/state.h"

#include <gtest/gtest.h>

#include <map>

namespace vantrel {
namespace {

constexpr float EPS = 1e-3f; // float drift of a few hundred 0.7 steps

class FlightTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        set_random_state(RANDOM_START_STATE);
        set_followers();
    }
    void TearDown() override { reset_game_state(); }

    // The flight part of one main-loop pass.
    static void pass(const FlightKeys& keys)
    {
        apply_flight_keys(keys);
        update_bird();
    }
    static FlightKeys both() { return {.left = true, .right = true}; }
    static FlightKeys left_only() { return {.left = true}; }
    static FlightKeys right_only() { return {.right = true}; }
};

TEST_F(FlightTest, FollowersStartAtWhatTheyFollow)
{
    EXPECT_EQ(target_y, SCREEN_HEIGHT);
    EXPECT_EQ(target_left, SCREEN_HEIGHT);
    EXPECT_EQ(target_right, SCREEN_HEIGHT);
    EXPECT_EQ(left_count_t, 0);
    EXPECT_EQ(right_count_t, 0);
}

TEST_F(FlightTest, FirstPassBringsBodyAndWingsTo439)
{
    pass({});
    EXPECT_EQ(bird_y, 439);
    EXPECT_EQ(left_wing, 439);
    EXPECT_EQ(right_wing, 439);
    EXPECT_NEAR(target_y, 479.3f, EPS);
}

TEST_F(FlightTest, AtRestBodyStaysAt439AndFollowerSettles)
{
    // 480 - 0.7k stays above 439 for k <= 58; pass 59 brings it to 438.7.
    for (int k = 1; k <= 58; ++k) {
        pass({});
        ASSERT_EQ(bird_y, 439) << "pass " << k;
        ASSERT_NEAR(target_y, SCREEN_HEIGHT - 0.7f * k, EPS) << "pass " << k;
    }
    pass({});
    EXPECT_NEAR(target_y, 438.7f, EPS);
    float previous = target_y;
    for (int k = 60; k <= 3000; ++k) {
        pass({});
        ASSERT_EQ(bird_y, 439);
        ASSERT_EQ(left_wing, 439);
        ASSERT_EQ(right_wing, 439);
        ASSERT_NEAR(target_y, 439, 1.0f);
        const float step = target_y - previous;
        // Up by 1 (and back 0.7 when that overshoots): +1 or +0.3, else -0.7.
        ASSERT_TRUE(std::abs(step - 1) < EPS || std::abs(step - 0.3f) < EPS ||
                    std::abs(step + 0.7f) < EPS)
            << "pass " << k << " step " << step;
        previous = target_y;
    }
    EXPECT_EQ(bird_x, SCREEN_CENTRE_X);
    EXPECT_EQ(fatigue, 0);
}

TEST_F(FlightTest, AtRestTheBirdDriftsOnlyWithTheWind)
{
    float expected_x = SCREEN_CENTRE_X;
    int changes = 0;
    for (int k = 0; k < 5000; ++k) {
        const float target_before = wind_target;
        expected_x += wind; // the wind of this pass moves the bird before it changes
        pass({});
        update_wind();
        changes += wind_target != target_before;
        if (expected_x < 65)
            expected_x = 65;
        if (expected_x > 575)
            expected_x = 575;
        ASSERT_EQ(bird_x, expected_x) << "pass " << k;
        ASSERT_EQ(bird_y, 439);
    }
    EXPECT_GT(changes, 0); // the sequence does change the target in 5000 passes
}

TEST_F(FlightTest, BothKeysRaiseWingsUntilFatigueReaches85)
{
    pass(both()); // lifted 2 from 480, then clamped to 439
    ASSERT_EQ(left_wing, 439);
    for (int k = 2; k <= 33; ++k) {
        pass(both());
        ASSERT_NEAR(left_wing, 439 - 1.35f * (k - 1), EPS) << "pass " << k;
        ASSERT_EQ(right_wing, left_wing);
    }
    // The count sum 66 passes the fatigue of 64 in pass 33: 64 + 66 - 0.5.
    EXPECT_EQ(fatigue, 129.5f);
    EXPECT_NEAR(left_wing, 395.8f, EPS);
    // From pass 34 on the wings only sink, by 0.65 per pass.
    pass(both());
    EXPECT_NEAR(left_wing, 396.45f, EPS);
    EXPECT_NEAR(right_wing, 396.45f, EPS);
}

TEST_F(FlightTest, FatigueGrowsInJumpsWhenTheCountSumExceedsIt)
{
    // Hand-worked: the sum 2k jumps in when it exceeds fatigue, then -0.5.
    const std::map<int, float> expected = {
        {1, 1.5f},  {2, 5},    {3, 10.5f}, {4, 10},   {5, 9.5f},  {6, 21},
        {9, 19.5f}, {10, 39},  {17, 35.5f}, {18, 71}, {32, 64},   {33, 129.5f},
        {34, 129},  {35, 128.5f}, {100, 96}};
    for (int k = 1; k <= 100; ++k) {
        pass(both());
        if (expected.count(k)) {
            ASSERT_EQ(fatigue, expected.at(k)) << "pass " << k;
        }
    }
}

TEST_F(FlightTest, LiftResumesOnceFatigueDecaysBelow85)
{
    for (int k = 1; k <= 122; ++k)
        pass(both());
    EXPECT_EQ(fatigue, 85); // 129.5 - 0.5 * 89
    const float before = left_wing;
    pass(both()); // fatigue 85 is not below 85: no lift yet
    EXPECT_EQ(fatigue, 84.5f);
    EXPECT_GT(left_wing, before);
    const float sinking = left_wing;
    pass(both());
    EXPECT_LT(left_wing, sinking);
}

TEST_F(FlightTest, HeldKeyCountCapsAt35AndLeftGlideBegins)
{
    for (int k = 1; k <= 34; ++k) {
        pass(left_only());
        ASSERT_EQ(left_count, static_cast<float>(k));
        ASSERT_EQ(bird_x, SCREEN_CENTRE_X); // one key alone does not lift the wing
    }
    // Pass 35: glide by the follower of pass 34, 20.4 / 50.
    pass(left_only());
    EXPECT_EQ(left_count, 35);
    EXPECT_NEAR(bird_x, SCREEN_CENTRE_X - 0.408f, EPS);
    for (int k = 36; k <= 60; ++k)
        pass(left_only());
    EXPECT_EQ(left_count, 35);
    // Follower 0.6 (k - 1) up to 34.8 (pass 58), then held there:
    // 0.012 * (34 + ... + 57) + 2 * 0.696 = 14.496.
    EXPECT_NEAR(left_count_t, 34.8f, EPS);
    EXPECT_NEAR(bird_x, SCREEN_CENTRE_X - 14.496f, 0.01f);
    EXPECT_EQ(bird_y, 439);
}

TEST_F(FlightTest, RightGlideMirrorsTheLeft)
{
    for (int k = 1; k <= 60; ++k)
        pass(right_only());
    EXPECT_EQ(right_count, 35);
    EXPECT_NEAR(bird_x, SCREEN_CENTRE_X + 14.496f, 0.01f);
}

TEST_F(FlightTest, GlidesTakeOffOrDoubleTheWind)
{
    wind = 0.25f;
    for (int k = 1; k <= 34; ++k)
        pass(left_only());
    const float before_left = bird_x;
    pass(left_only()); // wind added, then taken off with the glide
    EXPECT_NEAR(bird_x, before_left - 0.408f, EPS);

    SetUp();
    wind = 0.25f;
    for (int k = 1; k <= 34; ++k)
        pass(right_only());
    const float before_right = bird_x;
    pass(right_only()); // wind added twice
    EXPECT_NEAR(bird_x, before_right + 0.408f + 0.5f, EPS);
}

TEST_F(FlightTest, ReleaseZeroesCountAtOnceAndFollowerFalls)
{
    for (int k = 1; k <= 40; ++k)
        pass(left_only());
    const float follower = left_count_t; // 0.6 per pass
    EXPECT_NEAR(follower, 24.0f, EPS);
    pass({});
    EXPECT_EQ(left_count, 0);
    EXPECT_NEAR(left_count_t, follower - 0.6f, EPS);
    for (int k = 0; k < 10; ++k)
        pass({});
    EXPECT_NEAR(left_count_t, follower - 6.6f, EPS);
}

TEST_F(FlightTest, BirdXIsClampedTo65And575)
{
    for (int k = 0; k < 600; ++k)
        pass(right_only());
    EXPECT_EQ(bird_x, 575);
    pass(right_only());
    EXPECT_EQ(bird_x, 575); // stays at the edge while the key is held
    for (int k = 0; k < 1200; ++k)
        pass(left_only());
    EXPECT_EQ(bird_x, 65);
}

TEST_F(FlightTest, BodyNeverRisesAbove100)
{
    for (int k = 0; k < 2000; ++k) {
        pass(both());
        ASSERT_GE(bird_y, 100);
        ASSERT_LE(bird_y, 439);
        ASSERT_EQ(bird_y, static_cast<float>(static_cast<int>(bird_y)));
        ASSERT_LE(left_wing, 439);
        ASSERT_GE(bird_x, 65);
        ASSERT_LE(bird_x, 575);
    }
}

TEST_F(FlightTest, WingAboveBodyLiftsByHalfTheCount)
{
    // Both wings above the body: each side lifts by half its count,
    // truncated in turn: 439 - 2/2 = 438, then 438 - 2/2 = 437.
    pass(both());
    pass(both());
    EXPECT_EQ(bird_y, 437);
    EXPECT_EQ(bird_x, SCREEN_CENTRE_X); // equal pushes to both sides cancel
    // Odd counts: 439 - 3/2 = 437.5 -> 437, then 437 - 1.5 -> 435.
    SetUp();
    bird_y = 438; // sinks to 439 this pass
    left_wing = right_wing = 420;
    left_count = right_count = 2;
    pass(both());
    EXPECT_EQ(bird_y, 435);
}

TEST_F(FlightTest, OneWingAboveBodyPushesTowardsItsSide)
{
    bird_y = 300;
    right_wing = 250;
    left_wing = 300;
    target_y = 300;
    target_left = target_right = 300;
    right_count = 9;
    right_count_t = 5;
    pass(right_only()); // right_count 10
    // bird_y 301.3, right wing 250.65 above it: +0.5 and 301 - 5 = 296.
    EXPECT_EQ(bird_y, 296);
    EXPECT_NEAR(bird_x, SCREEN_CENTRE_X + 0.5f, EPS);
}

TEST_F(FlightTest, WingsAreHeldWithin10OfTheBodyFollower)
{
    target_y = 300;
    target_left = 280; // more than 10 above the body follower
    target_right = 320;
    left_wing = right_wing = 300;
    bird_y = 300;
    pass({});
    // The body sinks to 301 and target_y follows it there; target_left
    // (280.7) is still more than 10 above and target_right (319.3) more
    // than 10 below, so the wings are set 10 either side of 301.
    EXPECT_EQ(target_y, 301);
    EXPECT_EQ(left_wing, 291);
    EXPECT_EQ(right_wing, 311);
}

TEST_F(FlightTest, IslandScaleZoomsAndNeverGoesBelowZero)
{
    for (int k = 0; k < 500; ++k)
        apply_flight_keys({.zoom_in = true});
    EXPECT_NEAR(island_scale, 1.5f, EPS);
    for (int k = 0; k < 5000; ++k) {
        apply_flight_keys({.zoom_out = true});
        ASSERT_GE(island_scale, 0);
    }
    EXPECT_EQ(island_scale, 0);
    apply_flight_keys({.zoom_in = true, .zoom_out = true}); // cancel out
    EXPECT_EQ(island_scale, 0);
    for (int k = 0; k < 3000; ++k)
        apply_flight_keys({.zoom_in = true});
    EXPECT_NEAR(island_scale, 3.0f, 0.01f); // no upper limit
}

TEST_F(FlightTest, WindEasesTowardsItsTarget)
{
    wind_target = 0.0105f;
    for (int k = 1; k <= 10; ++k) {
        update_wind();
        if (wind_target != 0.0105f)
            break;
        ASSERT_NEAR(wind, 0.001f * k, 1e-6f);
    }
    // One more step would overshoot 0.0105 and is taken back.
    wind = 0.0100f;
    wind_target = 0.0105f;
    set_random_state(RANDOM_START_STATE); // first random_int(0, 1000) is 419
    update_wind();
    EXPECT_NEAR(wind, 0.0100f, 1e-6f);
}

TEST_F(FlightTest, WindTargetChangesOnlyOnDraw50)
{
    // Every pass draws random_int(0, 1000); a 50 draws a float for the target.
    int checked = 0;
    for (int k = 0; k < 20000; ++k) {
        const int32_t state = get_random_state();
        set_random_state(state);
        const int32_t draw = random_int(0, 1000);
        const float next = draw == 50 ? random_float() - 0.5f : wind_target;
        const int32_t after = get_random_state();
        set_random_state(state);
        update_wind();
        ASSERT_EQ(get_random_state(), after);
        ASSERT_EQ(wind_target, next);
        ASSERT_GE(wind_target, -0.5f);
        ASSERT_LT(wind_target, 0.5f);
        checked += draw == 50;
    }
    EXPECT_GT(checked, 5);
}

} // namespace
} // namespace vantrel
