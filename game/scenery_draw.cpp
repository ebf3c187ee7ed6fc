// Drawing the scenery between its motion steps. The motion (scenery.h)
// draws the random numbers; the drawing draws none, so the numbers come in
// the order the steps are written.
#include "game/scenery_draw.h"

#include "game/pictures.h"
#include "game/scenery.h"
#include "game/state.h"
#include "gfx/draw.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"

namespace vantrel {

namespace {

constexpr int32_t BLEND_OFF = 0; // outside 1..5: no blending, no alpha test

} // namespace

// Kept on purpose: the island sets no blend mode of its own. It is drawn in
// the mode the bird left in the frame before (alpha blending), and in the
// first frame in the additive mode start-up set, so it shows brighter once.
void update_draw_island()
{
    set_scale(island_scale, island_scale);
    set_colour(255, 255, 255);
    set_alpha(island_scale - 0.5f); // clamped when applied: invisible at 0.5 and below
    draw_image(island_image, island_x, island_y, 0);
    advance_island(image_height(island_image));
    set_scale(1, 1);
    set_alpha(1);
}

void update_draw_specks()
{
    // Kept on purpose: with blending off the alpha set below shows nowhere;
    // each speck still draws its random alpha every pass and plots opaque
    // white.
    set_blend_mode(BLEND_OFF);
    const float v = scroll_speed();
    for (const auto& speck : *specks) {
        const float alpha = step_speck(*speck, v);
        set_colour(255, 255, 255);
        set_alpha(alpha);
        plot_point(speck->x, speck->y);
        if (speck_gone(*speck))
            list_remove(specks, speck);
    }
    set_alpha(1);
    maybe_spawn_specks();
}

void update_draw_clouds()
{
    set_blend_mode(BLEND_LIGHT);
    const float v = scroll_speed();
    for (const auto& cloud : *clouds) {
        step_cloud(*cloud, v);
        set_colour(255, 255, 255);
        set_alpha(0.05f);
        set_scale(cloud->scale, cloud->scale);
        draw_image(spark_image, cloud->x, cloud->y, 0);
        set_scale(1, 1);
        if (cloud_gone(*cloud))
            list_remove(clouds, cloud);
    }
    set_alpha(1);
    maybe_spawn_cloud();
}

} // namespace vantrel
