// The cover map names the primitive over each pixel the way the frame
// comparison needs: topmost kind, every kind drawn there, a clear starting
// afresh, and images told apart by their texture's width.
#include "frame_cover.h"

#include "gfx/render_driver.h"

#include <gtest/gtest.h>

namespace vantrel::test {
namespace {

NullCall op(NullOp o)
{
    NullCall c;
    c.op = o;
    return c;
}

NullCall shape(Primitive primitive, std::vector<NullVertex> vertices, uint32_t texture = 0)
{
    NullCall c = op(NullOp::Shape);
    c.primitive = primitive;
    c.vertices = std::move(vertices);
    c.texture = texture;
    return c;
}

NullCall texture(uint32_t id, int32_t width)
{
    NullCall c = op(NullOp::CreateTexture);
    c.texture = id;
    c.ints[0] = width;
    c.ints[1] = width;
    return c;
}

NullCall line_width(float width)
{
    NullCall c = op(NullOp::SetLineWidth);
    c.floats[0] = width;
    return c;
}

int top(const FrameCover& f, int x, int y) { return f.top()[static_cast<size_t>(y) * 64 + x]; }
int mask(const FrameCover& f, int x, int y) { return f.mask()[static_cast<size_t>(y) * 64 + x]; }
int kind(CoverKind k) { return static_cast<int>(k) + 1; }
int bit(CoverKind k) { return 1 << static_cast<int>(k); }

std::vector<NullVertex> quad(float x0, float y0, float x1, float y1)
{
    return {{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x1, y1, 1, 1}, {x0, y1, 0, 1}};
}

TEST(FrameCover, NamesTheTopmostKindAndEveryKindBeneath)
{
    FrameCover f(64, 32);
    f.add(texture(1, 512));
    f.add(texture(2, 256));
    f.add(op(NullOp::Clear));
    f.add(shape(Primitive::Quads, quad(0, 0, 32, 32), 1));
    f.add(shape(Primitive::Quads, quad(8, 8, 24, 24), 2));
    f.add(shape(Primitive::Points, {{40.5f, 4.5f}}));

    EXPECT_EQ(top(f, 2, 2), kind(CoverKind::Island));
    EXPECT_EQ(top(f, 16, 16), kind(CoverKind::Clouds));
    EXPECT_EQ(mask(f, 16, 16), bit(CoverKind::Island) | bit(CoverKind::Clouds));
    // A point is its one pixel.
    EXPECT_EQ(top(f, 40, 4), kind(CoverKind::Points));
    EXPECT_EQ(top(f, 41, 4), 0);
    EXPECT_EQ(top(f, 40, 5), 0);
    // Only the clear, well away from every shape.
    EXPECT_EQ(top(f, 50, 20), 0);
    EXPECT_EQ(mask(f, 50, 20), 0);
}

TEST(FrameCover, EdgesCountWhereverAPixelTouchesTheShape)
{
    FrameCover f(64, 32);
    f.add(op(NullOp::Clear));
    f.add(shape(Primitive::Quads, quad(10, 10, 20, 20)));
    EXPECT_EQ(top(f, 9, 15), kind(CoverKind::Rects)) << "the square left of the edge touches it";
    EXPECT_EQ(top(f, 20, 15), kind(CoverKind::Rects));
    EXPECT_EQ(top(f, 8, 15), 0);
    EXPECT_EQ(top(f, 21, 15), 0);
}

TEST(FrameCover, LinesAreThinOrWideByTheWidthInEffect)
{
    FrameCover f(64, 32);
    f.add(op(NullOp::Clear));
    f.add(shape(Primitive::Lines, {{2.5f, 5.5f}, {30.5f, 5.5f}}));
    EXPECT_EQ(top(f, 15, 5), kind(CoverKind::ThinLines));
    EXPECT_EQ(top(f, 15, 3), 0);
    f.add(line_width(3));
    f.add(shape(Primitive::Lines, {{2.5f, 20.5f}, {30.5f, 20.5f}}));
    EXPECT_EQ(top(f, 15, 20), kind(CoverKind::WideLines));
    EXPECT_EQ(top(f, 15, 18), kind(CoverKind::WideLines));
    EXPECT_EQ(top(f, 15, 16), 0);
}

TEST(FrameCover, TexturedPolygonsAreWingsAndAClearStartsAfresh)
{
    FrameCover f(64, 32);
    f.add(op(NullOp::Clear));
    NullCall begin = op(NullOp::TexturedBegin);
    begin.ints[0] = static_cast<int32_t>(TexturedPrimitive::Polygon);
    f.add(begin);
    for (const NullVertex& v : quad(30, 2, 50, 12)) {
        NullCall c = op(NullOp::TexturedVertex);
        c.vertices.push_back(v);
        f.add(c);
    }
    f.add(op(NullOp::TexturedEnd));
    EXPECT_EQ(top(f, 40, 7), kind(CoverKind::Wings));
    f.add(op(NullOp::Clear));
    EXPECT_EQ(top(f, 40, 7), 0);
    EXPECT_EQ(mask(f, 40, 7), 0);
}

TEST(FrameCover, PassesNotCoveredStillCarryTheirState)
{
    FrameCover f(64, 32);
    f.set_covering(false);
    f.add(op(NullOp::Clear));
    f.add(texture(7, 512));
    f.add(line_width(3));
    f.add(shape(Primitive::Quads, quad(0, 0, 32, 32), 7));
    EXPECT_EQ(top(f, 16, 16), 0);
    f.set_covering(true);
    f.add(op(NullOp::Clear));
    f.add(shape(Primitive::Quads, quad(0, 0, 32, 32), 7));
    f.add(shape(Primitive::Lines, {{40.5f, 10.5f}, {60.5f, 10.5f}}));
    EXPECT_EQ(top(f, 16, 16), kind(CoverKind::Island));
    EXPECT_EQ(top(f, 50, 12), kind(CoverKind::WideLines));
}

} // namespace
} // namespace vantrel::test
