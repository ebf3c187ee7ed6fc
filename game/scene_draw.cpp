// Drawing the frame. The drawing state persists between frames: the island
// is drawn in the blend mode the bird left (additive only in the first
// frame), and the line width set here stays 3 for the rest of the run, so
// only the first frame's tail edges are thin.
#include "game/scene_draw.h"

#include "game/pictures.h"
#include "game/scenery_draw.h"
#include "game/screen.h"
#include "game/state.h"
#include "game/textured_poly.h"
#include "gfx/draw.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"

namespace vantrel {

namespace {

void draw_body_and_tail(const BirdPose& p)
{
    const float X = p.x, d = p.d;
    const auto b = static_cast<float>(p.b);
    draw_oval(X - 4, b - 10, 8, 14);
    draw_line(X + d, b + 40, X - 4, b + 4, 1);
    draw_line(X + d, b + 40, X + 4, b + 4, 1);
}

void draw_head_and_spine(const BirdPose& p)
{
    const float X = p.x, d = p.d;
    const auto b = static_cast<float>(p.b);
    set_colour(0, 0, 0);
    // Kept on purpose: the eye at X lies under the white spine drawn below,
    // so only the one at X - 2 shows.
    plot_point(X, b - 7);
    plot_point(X - 2, b - 7);
    set_colour(64, 64, 64);
    draw_oval(X - 1 - d / 4, b - 12, 3, 3);
    set_colour(255, 255, 255);
    draw_line(X - d / 4, b - 10, X + d, b + 40, 1);
    draw_line(X + 4, b + 4, X - 4, b + 4, 1);
}

} // namespace

void draw_frame()
{
    clear_screen();
    update_draw_island();
    update_draw_specks();
    update_draw_clouds();
    draw_bird();
    draw_wind_bar();
    flip_frame(-1);
}

void draw_bird()
{
    const BirdPose pose = bird_pose();
    set_colour(230, 230, 230);
    set_alpha(1);
    set_blend_mode(BLEND_ALPHA);
    draw_body_and_tail(pose);
    // Kept on purpose: the width is set after the tail edges and never set
    // back, so the first frame's tail edges are 1 pixel wide and all later
    // ones 3.
    set_line_width(3);
    for (const WingQuad& q : wing_quads(pose))
        draw_wing_quad(wing_image, q.x1, q.y1, q.x2, q.y2, q.x3, q.y3, q.x4, q.y4);
    draw_head_and_spine(pose);
}

void draw_wind_bar()
{
    set_colour(128, 128, 255);
    draw_rect(SCREEN_CENTRE_X, 0, wind_bar_width(), 20);
    set_colour(0, 0, 0);
    draw_line(SCREEN_CENTRE_X, 0, SCREEN_CENTRE_X, 20, 1);
}

// The polygon runs P1, P2, P4, P3.
void draw_wing_quad(const Ref<TImage>& image, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                    int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    const float grey = pack_vertex_colour(128, 128, 128, 128);
    const auto f = [](int32_t v) { return static_cast<float>(v); };
    // x, y, z, normal, colour, u, v
    const float vertices[36] = {
        f(x1), f(y1), 0, 0, 0, 1, grey, 0, 0,
        f(x2), f(y2), 0, 0, 0, 1, grey, 0, 1,
        f(x4), f(y4), 0, 0, 0, 1, grey, 1, 1,
        f(x3), f(y3), 0, 0, 0, 1, grey, 1, 0,
    };
    textured_poly_begin();
    // Kept on purpose: the same four vertices go twice into one open polygon,
    // so the quad is covered twice and the half-transparent wing is blended
    // in twice, more opaque than one cover would leave it.
    textured_poly_draw(image, 0, vertices, TEXTURED_POLY_POLYGON, 0);
    textured_poly_draw(image, 0, vertices, TEXTURED_POLY_POLYGON, 0);
    textured_poly_end();
}

} // namespace vantrel
