// The bird's drawn geometry worked out by hand: body height, lean, the
// seven wing quads (with truncation toward zero), and the wind bar width.
#include "game/scene_draw.h"
#include "game/screen.h"
#include "game/state.h"

#include <gtest/gtest.h>

namespace vantrel {

void PrintTo(const WingQuad& q, std::ostream* os)
{
    *os << "(" << q.x1 << "," << q.y1 << " " << q.x2 << "," << q.y2 << " " << q.x3 << ","
        << q.y3 << " " << q.x4 << "," << q.y4 << ")";
}

namespace {

class BirdGeometryTest : public ::testing::Test {
protected:
    void SetUp() override { reset_game_state(); }
    void TearDown() override { reset_game_state(); }
};

TEST_F(BirdGeometryTest, BirdAtStartUp)
{
    set_followers();
    const BirdPose p = bird_pose();
    EXPECT_EQ(p.x, SCREEN_CENTRE_X);
    EXPECT_EQ(p.b, SCREEN_HEIGHT); // target_y 480 is not below the wings' mean + 10
    EXPECT_EQ(p.d, 0);   // tail and spine vertical
    const auto q = wing_quads(p);
    EXPECT_EQ(q[0], (WingQuad{340, 475, 340, 500, 360, 480, 360, 500})); // right middle
    EXPECT_EQ(q[1], (WingQuad{360, 480, 360, 500, 385, 500, 385, 506})); // right outer
    EXPECT_EQ(q[2], (WingQuad{320, 480, 320, 500, 340, 475, 340, 500})); // right inner
    EXPECT_EQ(q[3], (WingQuad{300, 475, 300, 500, 280, 480, 280, 500})); // left middle
    EXPECT_EQ(q[4], (WingQuad{280, 480, 280, 500, 255, 500, 255, 506})); // left outer
    EXPECT_EQ(q[5], (WingQuad{320, 480, 320, 500, 300, 475, 300, 500})); // left inner
    EXPECT_EQ(q[6], (WingQuad{320, 505, 330, 525, 320, 505, 310, 525})); // tail
}

TEST_F(BirdGeometryTest, LeaningBirdWithBodyHeldNearTheWings)
{
    bird_x = 200.5f;
    target_left = 300.7f;
    target_right = 310.2f;
    left_count_t = 10.2f;
    right_count_t = 3.0f;
    fatigue = 37;
    target_y = 350; // more than 10 below the wings' mean 305.45
    const BirdPose p = bird_pose();
    EXPECT_EQ(p.b, 315);
    EXPECT_NEAR(p.d, 3.6f, 1e-5f);
    const auto q = wing_quads(p);
    // x: 220.5, 221.7, 240.5; y: 297.55, 320.7, 313.2, 331.7
    EXPECT_EQ(q[0], (WingQuad{220, 297, 221, 320, 240, 313, 240, 331}));
    // x: 180.5, 181.7, 160.5; y: 307.05, 330.2, 310.9, 325.8
    EXPECT_EQ(q[3], (WingQuad{180, 307, 181, 330, 160, 310, 160, 325}));
    // tail: 202.3, 214.1, 194.1; y: 340, 362.04, 360.6
    EXPECT_EQ(q[6], (WingQuad{202, 340, 214, 362, 202, 340, 194, 360}));
}

TEST_F(BirdGeometryTest, BodyAtTargetYWhenNotBelowTheWings)
{
    target_left = target_right = 300;
    target_y = 310; // exactly the mean + 10: still target_y
    EXPECT_EQ(bird_pose().b, 310);
    target_y = 310.5f;
    EXPECT_EQ(bird_pose().b, 310); // the mean + 10, truncated
    target_y = 250.9f;
    EXPECT_EQ(bird_pose().b, 250);
}

TEST_F(BirdGeometryTest, CornersTruncateTowardZero)
{
    bird_x = 60.5f; // the left outer tip lands at -4.5
    target_left = target_right = 100;
    target_y = 100;
    const auto q = wing_quads(bird_pose());
    EXPECT_EQ(q[4].x3, -4);
    EXPECT_EQ(q[4].x4, -4);
    bird_x = 64.5f;
    target_left = -30.5f; // the left outer tip starts at TL + LT = -30.5
    EXPECT_EQ(wing_quads(bird_pose())[4].y1, -30);
}

TEST_F(BirdGeometryTest, WindBarWidthTruncates)
{
    wind = 0;
    EXPECT_EQ(wind_bar_width(), 0);
    wind = 0.3333f;
    EXPECT_EQ(wind_bar_width(), 99);
    wind = -0.3333f;
    EXPECT_EQ(wind_bar_width(), -99);
    wind = -0.0033f;
    EXPECT_EQ(wind_bar_width(), 0); // -0.99 toward zero
    wind = 0.5f;
    EXPECT_EQ(wind_bar_width(), 150);
}

} // namespace
} // namespace vantrel
