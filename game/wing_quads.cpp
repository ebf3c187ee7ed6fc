// The bird's geometry: body height, lean and the wing quads' corners. The
// inner and middle quads on the right take their heights near the body from
// the left wing's follower and those on the left from the right one; the
// outer ends follow their own side.
#include "game/scene_draw.h"

#include "game/state.h"

namespace vantrel {

namespace {

int32_t px(float value)
{
    return static_cast<int32_t>(value); // toward zero
}

} // namespace

BirdPose bird_pose()
{
    BirdPose pose;
    pose.x = bird_x;
    pose.d = (left_count_t - right_count_t) / 2;
    // The body follows target_y, but no more than 10 below the wings' mean.
    const float m = (target_left + target_right) / 2 + 10;
    pose.b = target_y <= m ? px(target_y) : px(m);
    return pose;
}

std::array<WingQuad, 7> wing_quads(const BirdPose& p)
{
    const float X = p.x, d = p.d, TL = target_left, TR = target_right;
    const float LT = left_count_t, RT = right_count_t, F = fatigue;
    const int32_t b = p.b;
    return {{
        {px(X + 20), px(TL - 5 + F / 20), px(X + 20 + d / 3), px(TL + 20),
         px(X + 40), px(TR + RT), px(X + 40), px(TR + 20 + RT / 2)},
        {px(X + 40), px(TR + RT), px(X + 40), px(TR + 20 + RT / 2),
         px(X + 65), px(TR + RT + 20), px(X + 65), px(TR + RT + 26)},
        {px(X), b, px(X + d / 2), px(TL + 20),
         px(X + 20), px(TL - 5 + F / 20), px(X + 20 + d / 3), px(TL + 20)},
        {px(X - 20), px(TR - 5 + F / 20), px(X - 20 + d / 3), px(TR + 20),
         px(X - 40), px(TL + LT), px(X - 40), px(TL + 20 + LT / 2)},
        {px(X - 40), px(TL + LT), px(X - 40), px(TL + 20 + LT / 2),
         px(X - 65), px(TL + LT + 20), px(X - 65), px(TL + LT + 26)},
        {px(X), b, px(X + d / 2), px(TR + 20),
         px(X - 20), px(TR - 5 + F / 20), px(X - 20 + d / 3), px(TR + 20)},
        {px(X + d / 2), b + 25, px(X + d + 10), px(static_cast<float>(b + 45) + LT / 5),
         px(X + d / 2), b + 25, px(X + d - 10), px(static_cast<float>(b + 45) + RT / 5)},
    }};
}

float wind_bar_width()
{
    return static_cast<float>(px(wind * 300));
}

} // namespace vantrel
