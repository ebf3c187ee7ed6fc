// Scenery motion. Each random_int/random_float call is one draw, made in the
// statement order below whether or not its value changes anything.
#include "game/scenery.h"

#include "game/random.h"
#include "game/screen.h"
#include "game/state.h"

namespace vantrel {

Ref<TList<TCloud>> clouds;
Ref<TList<TSpeck>> specks;

namespace {

constexpr float BOTTOM_Y = SCREEN_HEIGHT;
constexpr float CLOUD_START_Y = -490; // the scaled glow still reaches far down
constexpr float SPECK_FALL_SPEED = 0.2f;

} // namespace

void create_scene_lists()
{
    clouds = make_ref<TList<TCloud>>();
    specks = make_ref<TList<TSpeck>>();
}

float scroll_speed()
{
    // 640 is the formula's own constant, not the screen width: the speed
    // runs from 0.5025 at the resting height 439 to 1.35 at 100.
    return (640 - bird_y) / 400;
}

void advance_island(int32_t picture_height)
{
    island_x -= wind;
    island_y += scroll_speed() + 0.01f;
    if (island_y > BOTTOM_Y) {
        island_y = -(static_cast<float>(picture_height) * island_scale);
        island_x = static_cast<float>(random_int(0, 400));
    }
}

float step_speck(TSpeck& speck, float v)
{
    speck.x += wind * 3;
    // Kept on purpose: random_int(-1, 1) truncates toward zero, so it gives
    // 0 two times in three and 1 otherwise (-1 next to never): specks drift a
    // third of a pixel right and fall a third of a pixel faster each pass.
    speck.x += static_cast<float>(random_int(-1, 1));
    // Kept on purpose: the integer halving makes this always 0, but the
    // number is drawn, which keeps every later draw in its place.
    speck.x += static_cast<float>(random_int(-1, 1) / 2);
    speck.y += speck.fall_speed;
    speck.y += v;
    speck.y += static_cast<float>(random_int(-1, 1));
    return random_float();
}

bool speck_gone(const TSpeck& speck)
{
    return speck.y > BOTTOM_Y;
}

void step_cloud(TCloud& cloud, float v)
{
    // Kept on purpose: the range -2..1 looks lopsided, but truncation toward
    // zero gives -1, 0 and 1 a quarter, a half and a quarter of the time (-2
    // next to never), so the clouds' jitter is even.
    cloud.x += static_cast<float>(random_int(-2, 1));
    cloud.x += wind * 3;
    cloud.y += cloud.fall_speed;
    cloud.y += v;
}

bool cloud_gone(const TCloud& cloud)
{
    // Kept on purpose: the scale factor (5 to 10) is taken off as if it were
    // a length, so a cloud stays listed, and keeps drawing numbers, until
    // its top edge is that many pixels below the bottom of the screen.
    return cloud.y - cloud.scale > BOTTOM_Y;
}

void maybe_spawn_specks()
{
    if (random_int(1, 10) == 10)
        spawn_specks();
}

void spawn_specks()
{
    for (int i = 0; i < 3; ++i) {
        auto speck = make_ref<TSpeck>();
        speck->x = static_cast<float>(random_int(-100, 740));
        speck->y = 0;
        speck->fall_speed = SPECK_FALL_SPEED;
        list_append(specks, speck);
    }
}

void maybe_spawn_cloud()
{
    if (random_int(1, 20) == 10)
        spawn_cloud();
}

void spawn_cloud()
{
    auto cloud = make_ref<TCloud>();
    cloud->x = static_cast<float>(random_int(-100, 740));
    cloud->y = CLOUD_START_Y;
    cloud->fall_speed = random_float() * 2 + 1;
    cloud->scale = (1 + random_float() + 0.01f) * 5;
    list_append(clouds, cloud);
}

} // namespace vantrel
