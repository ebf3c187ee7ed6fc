// Scenery motion: scroll speed, the island's fall and wrap, speck and cloud
// steps with their draws in order, retiring at the bottom, and spawns.
#include "draws.h"
#include "game/random.h"
#include "game/scenery.h"
#include "game/screen.h"
#include "game/state.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

constexpr float EPS = 1e-3f;

class SceneryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_game_state();
        set_random_state(RANDOM_START_STATE);
        create_scene_lists();
    }
    void TearDown() override { reset_game_state(); }
};

TEST_F(SceneryTest, ScrollSpeedFollowsBirdHeight)
{
    bird_y = 439;
    EXPECT_FLOAT_EQ(scroll_speed(), 0.5025f);
    bird_y = 100;
    EXPECT_FLOAT_EQ(scroll_speed(), 1.35f);
    bird_y = SCREEN_HEIGHT;
    EXPECT_FLOAT_EQ(scroll_speed(), 0.4f);
}

TEST_F(SceneryTest, IslandFallsWithScrollAndDriftsAgainstWind)
{
    bird_y = 439;
    wind = 0.25f;
    for (int k = 1; k <= 900; ++k)
        advance_island(512);
    // 0.5125 per pass: 461.25 after 900 passes, no wrap yet, no draws.
    EXPECT_NEAR(island_y, 461.25f, 0.01f);
    EXPECT_NEAR(island_x, SCREEN_CENTRE_X - 225, 0.01f);
    EXPECT_EQ(get_random_state(), RANDOM_START_STATE);
}

TEST_F(SceneryTest, IslandAtExactly480DoesNotWrap)
{
    bird_y = 439;
    island_y = SCREEN_HEIGHT - 0.5125f;
    advance_island(512);
    EXPECT_EQ(island_y, SCREEN_HEIGHT);
    EXPECT_EQ(get_random_state(), RANDOM_START_STATE);
}

TEST_F(SceneryTest, IslandWrapsAboveTopAtRandomLeftEdge)
{
    bird_y = 439;
    island_scale = 2;
    island_y = SCREEN_HEIGHT;
    advance_island(512);
    EXPECT_EQ(island_y, -1024);
    // First draw 0.41899 * 401 = 168.0.
    EXPECT_EQ(island_x, 168);
    EXPECT_EQ(get_random_state(), test::state_after_steps(RANDOM_START_STATE, 2));
}

TEST_F(SceneryTest, SpeckStepDrawsFourTimesInOrder)
{
    TSpeck s;
    s.x = 100;
    s.y = 50;
    s.fall_speed = 0.2f;
    wind = 0.1f;
    // Expected from the same sequence, drawn by hand in the stated order.
    const int32_t dx = random_int(-1, 1);
    random_int(-1, 1);
    const int32_t dy = random_int(-1, 1);
    const float alpha = random_float();
    const int32_t after = get_random_state();
    set_random_state(RANDOM_START_STATE);
    EXPECT_EQ(step_speck(s, 0.5025f), alpha);
    EXPECT_EQ(get_random_state(), after);
    EXPECT_EQ(after, test::state_after_steps(RANDOM_START_STATE, 7));
    EXPECT_NEAR(s.x, 100 + 0.3f + dx, EPS);
    EXPECT_NEAR(s.y, 50 + 0.2f + 0.5025f + dy, EPS);
}

TEST_F(SceneryTest, SpecksWanderRightAndDownOnAverage)
{
    TSpeck s;
    constexpr int N = 30000;
    for (int k = 0; k < N; ++k)
        step_speck(s, 0);
    // Zero wind, zero fall: a third of a pixel per pass each way.
    EXPECT_NEAR(s.x / N, 1.0f / 3, 0.02f);
    EXPECT_NEAR(s.y / N, 1.0f / 3, 0.02f);
}

TEST_F(SceneryTest, SpeckAtExactly480Stays)
{
    TSpeck s;
    s.y = SCREEN_HEIGHT;
    EXPECT_FALSE(speck_gone(s));
    s.y = SCREEN_HEIGHT + 0.01f;
    EXPECT_TRUE(speck_gone(s));
}

TEST_F(SceneryTest, CloudStepAndStrongLeftWind)
{
    TCloud c;
    c.x = 200;
    c.y = -490;
    c.fall_speed = 2;
    wind = -0.5f;
    const int32_t jitter = random_int(-2, 1);
    set_random_state(RANDOM_START_STATE);
    step_cloud(c, 0.5025f);
    EXPECT_NEAR(c.x, 200 + jitter - 1.5f, EPS);
    EXPECT_NEAR(c.y, -490 + 2.5025f, EPS);
    EXPECT_EQ(get_random_state(), test::state_after_steps(RANDOM_START_STATE, 2));
}

TEST_F(SceneryTest, CloudGoesWhenTopMinusScalePasses480)
{
    TCloud c;
    c.scale = 7;
    c.y = 487;
    EXPECT_FALSE(cloud_gone(c));
    c.y = 487.01f;
    EXPECT_TRUE(cloud_gone(c));
}

TEST_F(SceneryTest, SpawnCloudFromStartState)
{
    spawn_cloud();
    ASSERT_EQ(clouds->count(), 1u);
    const TCloud& c = **clouds->begin();
    // 0.41899 * 841 - 100 = 252.4; third state 650989866, fourth 1951098782.
    EXPECT_EQ(c.x, 252);
    EXPECT_EQ(c.y, -490);
    const float f3 = static_cast<float>(650989866 & 0x0FFFFFF0) / 268435456.0f;
    const float f4 = static_cast<float>(1951098782 & 0x0FFFFFF0) / 268435456.0f;
    EXPECT_EQ(c.fall_speed, f3 * 2 + 1);
    EXPECT_EQ(c.scale, (1 + f4 + 0.01f) * 5);
    EXPECT_EQ(get_random_state(), 1951098782);
}

TEST_F(SceneryTest, SpawnedCloudsStayInTheirRanges)
{
    for (int i = 0; i < 2000; ++i)
        spawn_cloud();
    for (const auto& c : *clouds) {
        ASSERT_GE(c->x, -100);
        ASSERT_LE(c->x, 740);
        ASSERT_GE(c->fall_speed, 1);
        ASSERT_LT(c->fall_speed, 3);
        ASSERT_GE(c->scale, 5.05f);
        ASSERT_LE(c->scale, 10.05f);
    }
}

TEST_F(SceneryTest, SpawnSpecksAddsThreeAtTheTop)
{
    spawn_specks();
    ASSERT_EQ(specks->count(), 3u);
    for (const auto& s : *specks) {
        EXPECT_EQ(s->y, 0);
        EXPECT_EQ(s->fall_speed, 0.2f);
    }
    EXPECT_EQ((*specks->begin())->x, 252);
    EXPECT_EQ(get_random_state(), test::state_after_steps(RANDOM_START_STATE, 6));
}

TEST_F(SceneryTest, SpecksSpawnOnlyOnDraw10)
{
    test::find_state([] { return random_int(1, 10) == 10; });
    maybe_spawn_specks();
    EXPECT_EQ(specks->count(), 3u);
    test::find_state([] { return random_int(1, 10) == 9; });
    const int32_t start = get_random_state();
    maybe_spawn_specks();
    EXPECT_EQ(specks->count(), 3u);
    EXPECT_EQ(get_random_state(), test::state_after_steps(start, 2));
}

TEST_F(SceneryTest, CloudsSpawnOnlyOnDraw10OfTwenty)
{
    test::find_state([] { return random_int(1, 20) == 10; });
    maybe_spawn_cloud();
    EXPECT_EQ(clouds->count(), 1u);
    test::find_state([] { return random_int(1, 20) == 20; });
    maybe_spawn_cloud();
    EXPECT_EQ(clouds->count(), 1u);
}

} // namespace
} // namespace vantrel
