// Primitives on OpenGL: the pixels they cover, with some vertices checked
// through the recorded OpenGL calls. The vertex rules of every primitive are
// checked on the null backend (null_primitives_test.cpp).
#include "assets/pixmap.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_render_driver.h"
#include "gfx/graphics2d.h"
#include "support/gfx_fixture.h"
#include "support/gl_spy.h"

#include <GL/gl.h>

#include <cmath>

namespace vantrel::test {
namespace {

class Primitives : public GfxTest {
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        set_blend_mode(BLEND_SOLID);
    }
};

const RGB WHITE{255, 255, 255};
const RGB BLACK{0, 0, 0};

std::vector<GLPrimitive> recorded(void (*draw)())
{
    spy_start();
    draw();
    spy_stop();
    return spy_primitives();
}

void expect_vertices(const GLPrimitive& p, std::vector<GLVertex> want)
{
    ASSERT_EQ(p.vertices.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_FLOAT_EQ(p.vertices[i].x, want[i].x) << "vertex " << i;
        EXPECT_FLOAT_EQ(p.vertices[i].y, want[i].y) << "vertex " << i;
    }
}

TEST_F(Primitives, RectangleIsOneQuadWithExclusiveRightAndBottom)
{
    auto p = recorded([] { draw_rect(10, 20, 30, 40); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].mode, static_cast<uint32_t>(GL_QUADS));
    expect_vertices(p[0], {{10, 20}, {40, 20}, {40, 60}, {10, 60}});
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{10, 20, 40, 60}));
    EXPECT_EQ(count_pixels(10, 20, 40, 60, WHITE), 30 * 40);
}

TEST_F(Primitives, NegativeSizeMirrorsTheRectangle)
{
    draw_rect(50, 50, -10, -5);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{40, 45, 50, 50}));
}

TEST_F(Primitives, HandleOffsetsShapesButNotImages)
{
    set_handle(5, 5);
    draw_rect(100, 100, 10, 10);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{95, 95, 105, 105}));
}

TEST_F(Primitives, ScaledRectangleGrowsAboutTheDrawingPosition)
{
    set_handle(5, 5);
    set_scale(2, 3);
    draw_rect(100, 100, 10, 10);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{90, 85, 110, 115}));
}

TEST_F(Primitives, LineWithLastPixel)
{
    auto p = recorded([] { draw_line(0, 0, 10, 0, 1); });
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].mode, static_cast<uint32_t>(GL_LINES));
    expect_vertices(p[0], {{0.5f, 0.5f}, {10.5f, 0.5f}});
    EXPECT_EQ(p[1].mode, static_cast<uint32_t>(GL_POINTS));
    expect_vertices(p[1], {{10.5f, 0.5f}});
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{0, 0, 11, 1}));
    EXPECT_EQ(count_pixels(0, 0, 11, 1, WHITE), 11);
}

TEST_F(Primitives, LineWithoutLastPixelLeavesTheEndOut)
{
    auto p = recorded([] { draw_line(0, 0, 10, 0, 0); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{0, 0, 10, 1}));
}

TEST_F(Primitives, VerticalLineWithLastPixel)
{
    draw_line(320, 0, 320, 20, 1);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{320, 0, 321, 21}));
}

TEST_F(Primitives, WideLineCoversThreeRowsAndItsEndPointStaysOnePixel)
{
    set_line_width(3);
    draw_line(100, 100, 120, 100, 0);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{100, 99, 120, 102}));
    EXPECT_EQ(count_pixels(100, 99, 120, 102, WHITE), 60);
    clear_screen();
    auto p = recorded([] { draw_line(100, 100, 120, 100, 1); });
    ASSERT_EQ(p.size(), 2u);
    expect_vertices(p[1], {{120.5f, 100.5f}});
    GLfloat size = 0;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 1.0f);
}

TEST_F(Primitives, PointLightsOnePixelWhateverTheScale)
{
    auto p = recorded([] { plot_point(5, 5); });
    ASSERT_EQ(p.size(), 1u);
    expect_vertices(p[0], {{5.5f, 5.5f}});
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{5, 5, 6, 6}));
    clear_screen();
    set_scale(2, 2);
    set_rotation(45);
    set_handle(3, 3);
    set_line_width(5);
    p = recorded([] { plot_point(5, 5); });
    expect_vertices(p[0], {{5.5f, 5.5f}});
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{5, 5, 6, 6}));
}

TEST_F(Primitives, OvalOfHundredByFiftyHasSeventyTwoVertices)
{
    auto p = recorded([] { draw_oval(0, 0, 100, 50); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].mode, static_cast<uint32_t>(GL_POLYGON));
    ASSERT_EQ(p[0].vertices.size(), 72u);
    EXPECT_FLOAT_EQ(p[0].vertices[0].x, 100.0f);
    EXPECT_FLOAT_EQ(p[0].vertices[0].y, 25.0f);
    const double a = 5.0 * M_PI / 180.0;
    EXPECT_NEAR(p[0].vertices[1].x, 50 + 50 * std::cos(a), 1e-4);
    EXPECT_NEAR(p[0].vertices[1].y, 25 - 25 * std::sin(a), 1e-4); // up the screen first
    EXPECT_NEAR(p[0].vertices[18].x, 50.0f, 1e-4);                 // 90 degrees: the top
    EXPECT_NEAR(p[0].vertices[18].y, 0.0f, 1e-4);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{0, 0, 100, 50}));
}

TEST_F(Primitives, OvalCoverageIsSymmetric)
{
    draw_oval(100, 100, 40, 20);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{100, 100, 140, 120}));
    EXPECT_EQ(pixel(120, 110), WHITE);
    EXPECT_EQ(pixel(101, 101), BLACK); // corners of the box stay out
    EXPECT_EQ(pixel(138, 118), BLACK);
}

TEST_F(Primitives, ClearFillsWithTheClearColour)
{
    draw_rect(0, 0, 100, 100);
    set_clear_colour(0, 128, 255);
    spy_start();
    clear_screen();
    spy_stop();
    EXPECT_EQ(spy_count("glClear", GL_COLOR_BUFFER_BIT), 1);
    EXPECT_EQ(count_pixels(0, 0, 640, 480, {0, 128, 255}), 640 * 480);
}

TEST_F(Primitives, ShapesUseNoModelViewMatrix)
{
    set_scale(3, 3);
    set_rotation(30);
    draw_rect(10, 10, 5, 5);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f);
}

TEST_F(Primitives, BlitAndReadBackPixmapsAreExact)
{
    auto src = new_pixmap(3, 2, FORMAT_RGB24, 4);
    const uint32_t colours[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                 0xFF102030, 0xFF405060, 0xFF708090};
    for (int i = 0; i < 6; ++i)
        src->put_pixel(i % 3, i / 3, colours[i]);
    current_renderer()->blit_pixmap(src, 200, 100);
    EXPECT_EQ(pixel(200, 100), (RGB{255, 0, 0}));
    EXPECT_EQ(pixel(202, 101), (RGB{0x70, 0x80, 0x90}));
    auto back = current_renderer()->read_back_pixmap(200, 100, 3, 2);
    ASSERT_EQ(back->format, FORMAT_RGBA32);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(back->get_pixel(i % 3, i / 3), colours[i]) << i;
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{200, 100, 203, 102}));
}

} // namespace
} // namespace vantrel::test
