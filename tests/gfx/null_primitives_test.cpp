// Primitives on the null renderer: the primitive and the exact screen
// vertices each drawing operation gives, by the rules every renderer
// shares. The pixels they cover are checked on OpenGL (primitives_test.cpp).
#include "gfx/draw.h"
#include "gfx/graphics2d.h"
#include "support/null_fixture.h"

#include <cmath>

namespace vantrel::test {
namespace {

class NullPrimitives : public NullGfxTest {};

TEST_F(NullPrimitives, RectangleIsOneQuadWithExclusiveRightAndBottom)
{
    auto p = shapes_of([] { draw_rect(10, 20, 30, 40); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].primitive, Primitive::Quads);
    EXPECT_EQ(p[0].texture, 0u);
    expect_vertices(p[0], {{10, 20}, {40, 20}, {40, 60}, {10, 60}});
}

TEST_F(NullPrimitives, NegativeSizeMirrorsTheRectangle)
{
    auto p = shapes_of([] { draw_rect(50, 50, -10, -5); });
    ASSERT_EQ(p.size(), 1u);
    expect_vertices(p[0], {{50, 50}, {40, 50}, {40, 45}, {50, 45}});
}

TEST_F(NullPrimitives, HandleOffsetsTheShapeAndScaleGrowsItAboutThePosition)
{
    set_handle(5, 5);
    auto p = shapes_of([] { draw_rect(100, 100, 10, 10); });
    expect_vertices(p[0], {{95, 95}, {105, 95}, {105, 105}, {95, 105}});
    set_scale(2, 3);
    p = shapes_of([] { draw_rect(100, 100, 10, 10); });
    expect_vertices(p[0], {{90, 85}, {110, 85}, {110, 115}, {90, 115}});
}

TEST_F(NullPrimitives, LineSitsOnPixelCentresAndItsLastPixelIsAPoint)
{
    auto p = shapes_of([] { draw_line(0, 0, 10, 0, 1); });
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].primitive, Primitive::Lines);
    expect_vertices(p[0], {{0.5f, 0.5f}, {10.5f, 0.5f}});
    EXPECT_EQ(p[1].primitive, Primitive::Points);
    expect_vertices(p[1], {{10.5f, 0.5f}});
    p = shapes_of([] { draw_line(0, 0, 10, 0, 0); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].primitive, Primitive::Lines);
}

TEST_F(NullPrimitives, LineEndPointFollowsHandleScaleAndOrigin)
{
    set_origin(3, 4);
    set_handle(1, 2);
    set_scale(2, 2);
    auto p = shapes_of([] { draw_line(10, 10, 20, 15, 1); });
    ASSERT_EQ(p.size(), 2u);
    // Local start (-1, -2), end (9, 3); scaled by 2 about (13, 14).
    expect_vertices(p[0], {{11.5f, 10.5f}, {31.5f, 20.5f}});
    expect_vertices(p[1], {{31.5f, 20.5f}});
}

TEST_F(NullPrimitives, PointIsOnePixelWhateverTheScaleRotationAndHandle)
{
    auto p = shapes_of([] { plot_point(5, 5); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].primitive, Primitive::Points);
    expect_vertices(p[0], {{5.5f, 5.5f}});
    set_scale(2, 2);
    set_rotation(45);
    set_handle(3, 3);
    set_line_width(5);
    p = shapes_of([] { plot_point(5, 5); });
    expect_vertices(p[0], {{5.5f, 5.5f}});
}

TEST_F(NullPrimitives, OvalOfHundredByFiftyHasSeventyTwoVertices)
{
    auto p = shapes_of([] { draw_oval(0, 0, 100, 50); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].primitive, Primitive::Polygon);
    ASSERT_EQ(p[0].vertices.size(), 72u);
    EXPECT_FLOAT_EQ(p[0].vertices[0].x, 100.0f);
    EXPECT_FLOAT_EQ(p[0].vertices[0].y, 25.0f);
    const double a = 5.0 * M_PI / 180.0;
    EXPECT_NEAR(p[0].vertices[1].x, 50 + 50 * std::cos(a), 1e-4);
    EXPECT_NEAR(p[0].vertices[1].y, 25 - 25 * std::sin(a), 1e-4); // up the screen first
    EXPECT_NEAR(p[0].vertices[18].x, 50.0f, 1e-4);                 // 90 degrees: the top
    EXPECT_NEAR(p[0].vertices[18].y, 0.0f, 1e-4);
}

TEST_F(NullPrimitives, OvalVertexCountsFollowTheRadii)
{
    struct Case {
        float w, h;
        size_t n;
    };
    for (Case c : {Case{10, 10, 12}, Case{30, 1, 12}, Case{0, 0, 12}, Case{34, 0, 16},
                   Case{-100, 50, 72}, Case{8, 14, 12}, Case{200, 100, 148}}) {
        auto p = shapes_of([&] { draw_oval(0, 0, c.w, c.h); });
        ASSERT_EQ(p.size(), 1u);
        EXPECT_EQ(p[0].vertices.size(), c.n) << c.w << " x " << c.h;
    }
}

TEST_F(NullPrimitives, ZeroSizeOvalPutsAllVerticesOnOnePoint)
{
    auto p = shapes_of([] { draw_oval(7, 9, 0, 0); });
    ASSERT_EQ(p[0].vertices.size(), 12u);
    for (auto v : p[0].vertices) {
        EXPECT_FLOAT_EQ(v.x, 7.0f);
        EXPECT_FLOAT_EQ(v.y, 9.0f);
    }
}

TEST_F(NullPrimitives, PolygonNeedsThreePointsAndAnEvenCount)
{
    const float tri[] = {0, 0, 10, 0, 0, 10};
    const float odd[] = {0, 0, 10, 0, 0};
    const float two[] = {0, 0, 10, 0};
    draw_log().clear();
    draw_poly(odd, 50, 50);
    draw_poly(two, 50, 50);
    EXPECT_TRUE(draw_log().calls().empty());
    set_handle(5, 0);
    auto p = shapes_of([&] { draw_poly(tri, 50, 50); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].primitive, Primitive::Polygon);
    expect_vertices(p[0], {{45, 50}, {55, 50}, {45, 60}});
}

TEST_F(NullPrimitives, ShapesAreDrawnInTheCurrentColourBytes)
{
    set_colour(10, 20, 30);
    set_alpha(0.5f);
    auto p = shapes_of([] { draw_rect(0, 0, 1, 1); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].colour[0], 10);
    EXPECT_EQ(p[0].colour[1], 20);
    EXPECT_EQ(p[0].colour[2], 30);
    EXPECT_EQ(p[0].colour[3], 127);
}

TEST_F(NullPrimitives, ClearUsesTheClampedClearColour)
{
    set_clear_colour(-40, 999, 64);
    draw_log().clear();
    clear_screen();
    ASSERT_EQ(draw_log().calls().size(), 1u);
    const NullCall& c = draw_log().calls()[0];
    EXPECT_EQ(c.op, NullOp::Clear);
    EXPECT_EQ(c.colour[0], 0);
    EXPECT_EQ(c.colour[1], 255);
    EXPECT_EQ(c.colour[2], 64);
}

} // namespace
} // namespace vantrel::test
