// The flight model. Comparisons are between 32-bit floats and every
// float-to-integer conversion truncates toward zero, as the model's
// whole-pixel sinking relies on.
#include "game/flight.h"

#include "game/random.h"
#include "game/state.h"

#include <cstdint>

namespace vantrel {

namespace {

constexpr float MAX_COUNT = 35;
constexpr float GROUND_Y = 439; // the bird's resting height
constexpr float CEILING_Y = 100;
constexpr float MIN_X = 65;
constexpr float MAX_X = 575;
constexpr float FATIGUE_LIMIT = 85;

void count_hold(float& count, bool held)
{
    if (held) {
        count += 1;
        if (count > MAX_COUNT)
            count = MAX_COUNT;
    } else {
        count = 0;
    }
}

// Moves a follower up by `up` when below its value, then down by `down`
// when (now) above it.
void follow(float& follower, float value, float up, float down)
{
    if (follower < value)
        follower += up;
    if (follower > value)
        follower -= down;
}

void sink_and_clamp()
{
    bird_y += 1.3f;
    left_wing += 0.65f;
    right_wing += 0.65f;
    bird_x += wind;
    if (bird_y > GROUND_Y)
        bird_y = GROUND_Y;
    if (left_wing > GROUND_Y)
        left_wing = GROUND_Y;
    if (right_wing > GROUND_Y)
        right_wing = GROUND_Y;
    if (bird_y < CEILING_Y)
        bird_y = CEILING_Y;
}

// A wing above the body lifts it by half the side's count and pushes it
// towards that side; a fully held key adds a glide. Both wings compare with
// the body height before either lift is applied.
void lift_and_glide()
{
    auto n = static_cast<int32_t>(bird_y);
    if (right_wing < bird_y) {
        bird_x += right_count_t / 10;
        n = static_cast<int32_t>(static_cast<float>(n) - right_count / 2);
    }
    if (left_wing < bird_y) {
        bird_x -= left_count_t / 10;
        n = static_cast<int32_t>(static_cast<float>(n) - left_count / 2);
    }
    // Kept on purpose: a fully held key moves the wind with the glide, so a
    // left glide takes this pass's wind off again and a right glide adds it a
    // second time; with both held the extra terms cancel.
    if (left_count == MAX_COUNT)
        bird_x -= left_count_t / 50 + wind;
    if (right_count == MAX_COUNT)
        bird_x += right_count_t / 50 + wind;
    bird_y = static_cast<float>(n);
    if (bird_x < MIN_X)
        bird_x = MIN_X;
    if (bird_x > MAX_X)
        bird_x = MAX_X;
}

// The wings may stray at most 10 from the body's follower; the test is on
// the wings' followers, the correction on the wings themselves.
void hold_wings_near_body()
{
    if (target_left < target_y - 10)
        left_wing = target_y - 10;
    if (target_right < target_y - 10)
        right_wing = target_y - 10;
    if (target_left > target_y + 10)
        left_wing = target_y + 10;
    if (target_right > target_y + 10)
        right_wing = target_y + 10;
}

void tire()
{
    const auto s = static_cast<int32_t>(left_count + right_count);
    if (static_cast<float>(s) > fatigue)
        fatigue += static_cast<float>(s);
    fatigue -= 0.5f;
    if (fatigue < 0)
        fatigue = 0;
}

} // namespace

void apply_flight_keys(const FlightKeys& keys)
{
    count_hold(left_count, keys.left);
    count_hold(right_count, keys.right);
    if (keys.left && keys.right && fatigue < FATIGUE_LIMIT) {
        right_wing -= 2;
        left_wing -= 2;
    }
    if (keys.zoom_in)
        island_scale += 0.001f;
    if (keys.zoom_out)
        island_scale -= 0.001f;
    if (island_scale < 0)
        island_scale = 0;
}

void update_bird()
{
    sink_and_clamp();
    lift_and_glide();
    follow(target_y, bird_y, 1, 0.7f);
    follow(target_left, left_wing, 0.7f, 0.7f);
    follow(target_right, right_wing, 0.7f, 0.7f);
    hold_wings_near_body();
    follow(left_count_t, left_count, 0.6f, 0.6f);
    follow(right_count_t, right_count, 0.6f, 0.6f);
    tire();
}

void update_wind()
{
    follow(wind, wind_target, 0.001f, 0.001f);
    if (random_int(0, 1000) == 50)
        wind_target = random_float() - 0.5f;
}

} // namespace vantrel
