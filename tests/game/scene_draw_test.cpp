// Frame drawing on a real window, for what only OpenGL shows: the eye the
// spine covers, the wing quads reaching OpenGL as one polygon and covered
// twice, and the texture state the quads leave for what is drawn next, in
// pixels. The order of a frame's calls, the wind bar, the tail edges' width
// and the quads' vertices are checked on the null backend
// (scene_draw_null_test.cpp).
#include "game_run.h"

#include "../gfx/support/gl_spy.h"
#include "game/game_main.h"
#include "game/pictures.h"
#include "game/scene_draw.h"
#include "game/screen.h"
#include "game/state.h"
#include "game/textured_poly.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/render_driver.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace vantrel {
namespace {

using test::Rgb;

constexpr Rgb SKY{0, 128, 255};

Ref<TPixmap> read_frame()
{
    return current_renderer()->read_back_pixmap(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
}

class SceneDrawTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        reset_game_state();
        start_game();
        set_clear_colour(0, 128, 255);
        textured_poly_init();
    }
    static void TearDownTestSuite() { close_opened_graphics(); }
    void SetUp() override
    {
        reset_game_state();
        set_blend_mode(BLEND_ALPHA);
        set_alpha(1);
        set_line_width(1);
        set_colour(255, 255, 255);
        clear_screen();
    }
};

// A bird whose body is held 10 below its wings' followers, at b = 300.
void pose_bird_for_tail()
{
    bird_x = 320;
    target_y = 400;
    target_left = target_right = 290; // body at 290 + 10 = 300
}

TEST_F(SceneDrawTest, EyesHeadAndSpine)
{
    pose_bird_for_tail(); // b = 300, d = 0
    draw_bird();
    const auto f = read_frame();
    EXPECT_EQ(test::pixel(f, 318, 293), (Rgb{0, 0, 0})); // eye at (X - 2, b - 7)
    // The eye at (X, b - 7) lies under the white spine, drawn last.
    EXPECT_EQ(test::pixel(f, 320, 293), (Rgb{255, 255, 255}));
    EXPECT_EQ(test::pixel(f, 320, 338), (Rgb{255, 255, 255})); // spine down to b + 40
    // Cross bar from (X + 4, b + 4) to (X - 4, b + 4).
    EXPECT_EQ(test::pixel(f, 316, 304), (Rgb{255, 255, 255}));
    EXPECT_EQ(test::pixel(f, 324, 304), (Rgb{255, 255, 255}));
}

TEST_F(SceneDrawTest, WingQuadIsOnePolygonSentTwice)
{
    test::spy_start();
    draw_wing_quad(wing_image, 100, 100, 110, 200, 300, 120, 290, 180);
    test::spy_stop();
    const auto prims = test::spy_primitives();
    ASSERT_EQ(prims.size(), 1u);
    EXPECT_EQ(prims[0].mode, static_cast<uint32_t>(GL_POLYGON));
    const float expected[8][2] = {{100, 100}, {110, 200}, {290, 180}, {300, 120},
                                  {100, 100}, {110, 200}, {290, 180}, {300, 120}};
    ASSERT_EQ(prims[0].vertices.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(prims[0].vertices[i].x, expected[i][0]) << i;
        EXPECT_EQ(prims[0].vertices[i].y, expected[i][1]) << i;
    }
    EXPECT_EQ(test::spy_count("glColor4ubv", 128), 8);
    EXPECT_EQ(test::spy_count("glNormal3f", 0), 8);
    EXPECT_EQ(test::spy_count("glEnd"), 1);
    // The texture went through the renderer, so its record is true.
    auto frame = ref_cast<TGLTextureFrame>(wing_image->frame(0));
    ASSERT_TRUE(frame);
    EXPECT_EQ(gl_render_driver()->cached_texture(), frame->texture);
    EXPECT_TRUE(gl_render_driver()->cached_texturing());
}

TEST_F(SceneDrawTest, WingQuadIsCoveredTwice)
{
    // One cover through the facility with close 1, then the game's quad.
    const float grey = pack_vertex_colour(128, 128, 128, 128);
    const float once[36] = {100, 100, 0, 0, 0, 1, grey, 0, 0, 100, 300, 0, 0, 0, 1, grey, 0, 1,
                            300, 300, 0, 0, 0, 1, grey, 1, 1, 300, 100, 0, 0, 0, 1, grey, 1, 0};
    textured_poly_begin();
    textured_poly_draw(wing_image, 0, once, TEXTURED_POLY_POLYGON, 1);
    textured_poly_end();
    const auto single = read_frame();
    clear_screen();
    draw_wing_quad(wing_image, 100, 100, 100, 300, 300, 100, 300, 300);
    const auto twice = read_frame();
    // With source term S and a = 128/255: once = S + D(1 - a), twice =
    // S + once(1 - a), so twice - once = (once - D)(1 - a). The rows kept
    // clear of the notched bottom edge, where the texture's own alpha
    // lowers a.
    int checked = 0;
    for (int y = 110; y < 230; y += 5)
        for (int x = 110; x < 290; x += 7) {
            const Rgb o = test::pixel(single, x, y), t = test::pixel(twice, x, y);
            if (o == SKY)
                continue; // a masked notch
            const double k = 127.0 / 255;
            EXPECT_NEAR(t.r - o.r, (o.r - SKY.r) * k, 2.5) << x << "," << y;
            EXPECT_NEAR(t.b - o.b, (o.b - SKY.b) * k, 2.5) << x << "," << y;
            ++checked;
        }
    EXPECT_GT(checked, 300);
}

TEST_F(SceneDrawTest, LinesAfterAQuadAreNotTinted)
{
    draw_wing_quad(wing_image, 100, 100, 100, 300, 300, 100, 300, 300);
    set_colour(10, 200, 30);
    draw_line(400, 50, 500, 50, 1);
    draw_rect(400, 100, 50, 50);
    const auto f = read_frame();
    EXPECT_EQ(test::pixel(f, 450, 50), (Rgb{10, 200, 30}));
    EXPECT_EQ(test::pixel(f, 425, 125), (Rgb{10, 200, 30}));
}

TEST_F(SceneDrawTest, ImageAfterAQuadShowsItsOwnPicture)
{
    set_colour(255, 255, 255);
    draw_image(spark_image, 350, 100, 0);
    const auto alone = read_frame();
    clear_screen();
    draw_wing_quad(wing_image, 100, 100, 100, 300, 300, 100, 300, 300);
    set_colour(255, 255, 255);
    set_alpha(1);
    set_blend_mode(BLEND_ALPHA);
    draw_image(spark_image, 350, 100, 0);
    const auto after = read_frame();
    for (int y = 110; y < 350; y += 5)
        for (int x = 360; x < 600; x += 5)
            ASSERT_EQ(test::pixel(after, x, y), test::pixel(alone, x, y)) << x << "," << y;
}

} // namespace
} // namespace vantrel
