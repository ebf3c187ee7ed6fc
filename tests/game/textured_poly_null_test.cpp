// The textured-polygon facility on the null renderer: which renderer calls
// a sequence of draws turns into (one primitive per run of the same frame,
// vertex colours unpacked, the frame bound through the renderer). Pixels
// are checked on OpenGL (scene_draw_test.cpp).
#include "core/error.h"
#include "game/textured_poly.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/null/null_texture_frame.h"
#include "support/null_fixture.h"

#include <vector>

namespace vantrel::test {
namespace {

class TexturedPolyNull : public NullGfxTest {
protected:
    void SetUp() override
    {
        NullGfxTest::SetUp();
        wing = load_image(Ref<TObject>(new_pixmap(8, 8, FORMAT_RGBA32, 4)), 0);
        spark = load_image(Ref<TObject>(new_pixmap(4, 4, FORMAT_RGBA32, 4)), 0);
        ASSERT_TRUE(wing && spark);
    }

    uint32_t texture_of(const Ref<TImage>& image)
    {
        return ref_cast<TNullTextureFrame>(image->frame(0))->texture;
    }

    // The textured-primitive entries of the log, texture binds included.
    std::vector<NullOp> ops() const
    {
        std::vector<NullOp> out;
        for (const NullCall& c : draw_log().calls())
            if (c.op >= NullOp::VertexColours || c.op == NullOp::BindTexture)
                out.push_back(c.op);
        return out;
    }

    Ref<TImage> wing, spark;
};

// Two vertices: (10, 20, 0.5) coloured (1, 2, 3, 4), and (30, 40, 0).
std::vector<float> two_vertices()
{
    return {10, 20, 0.5f, 0, 0, 1, pack_vertex_colour(1, 2, 3, 4), 0.25f, 0.75f,
            30, 40, 0,    0, 1, 0, pack_vertex_colour(200, 100, 50, 255), 1, 0};
}

constexpr NullOp BIND = NullOp::BindTexture, BEGIN = NullOp::TexturedBegin,
                 VERTEX = NullOp::TexturedVertex, END = NullOp::TexturedEnd;

TEST_F(TexturedPolyNull, InitLetsVertexColoursDriveTheMaterial)
{
    textured_poly_init();
    EXPECT_EQ(ops(), std::vector<NullOp>{NullOp::VertexColours});
}

TEST_F(TexturedPolyNull, VerticesReachTheRendererUnpacked)
{
    const auto v = two_vertices();
    textured_poly_begin();
    textured_poly_draw(wing, 0, v, TEXTURED_POLY_POLYGON, 1);
    textured_poly_end();
    EXPECT_EQ(ops(), (std::vector<NullOp>{BIND, BEGIN, VERTEX, VERTEX, END}));
    std::vector<NullCall> vertices;
    for (const NullCall& c : draw_log().calls()) {
        if (c.op == BEGIN) {
            EXPECT_EQ(c.ints[0], static_cast<int32_t>(TexturedPrimitive::Polygon));
            EXPECT_EQ(c.texture, texture_of(wing));
        }
        if (c.op == VERTEX)
            vertices.push_back(c);
    }
    ASSERT_EQ(vertices.size(), 2u);
    const NullCall& a = vertices[0];
    EXPECT_EQ(a.vertices[0].x, 10); EXPECT_EQ(a.vertices[0].y, 20);
    EXPECT_EQ(a.vertices[0].u, 0.25f); EXPECT_EQ(a.vertices[0].v, 0.75f);
    EXPECT_EQ(a.floats[0], 0.5f); EXPECT_EQ(a.floats[3], 1.0f);
    EXPECT_EQ((std::vector<int>{a.colour[0], a.colour[1], a.colour[2], a.colour[3]}),
              (std::vector<int>{1, 2, 3, 4}));
    const NullCall& b = vertices[1];
    EXPECT_EQ(b.floats[2], 1.0f);
    EXPECT_EQ((std::vector<int>{b.colour[0], b.colour[1], b.colour[2], b.colour[3]}),
              (std::vector<int>{200, 100, 50, 255}));
}

TEST_F(TexturedPolyNull, OneFrameKeepsOnePrimitiveAndAnotherStartsTheNext)
{
    const auto v = two_vertices();
    textured_poly_begin();
    textured_poly_draw(wing, 0, v, TEXTURED_POLY_POLYGON, 0);
    textured_poly_draw(wing, 0, v, TEXTURED_POLY_POLYGON, 0); // continues it
    textured_poly_draw(spark, 0, v, 5, 0);                     // ends it, strip
    textured_poly_end();
    EXPECT_EQ(ops(), (std::vector<NullOp>{BIND, BEGIN, VERTEX, VERTEX, VERTEX, VERTEX, END,
                                          BIND, BEGIN, VERTEX, VERTEX, END}));
    const auto& calls = draw_log().calls();
    int begins = 0;
    for (const NullCall& c : calls)
        if (c.op == BEGIN && ++begins == 2) {
            EXPECT_EQ(c.ints[0], static_cast<int32_t>(TexturedPrimitive::TriangleStrip));
            EXPECT_EQ(c.texture, texture_of(spark));
        }
    EXPECT_EQ(begins, 2);
}

TEST_F(TexturedPolyNull, CloseEndsThePrimitiveAndTheSameFrameReopensWithoutABind)
{
    const auto v = two_vertices();
    textured_poly_begin();
    textured_poly_draw(wing, 0, v, TEXTURED_POLY_POLYGON, 1);
    textured_poly_draw(wing, 0, v, TEXTURED_POLY_POLYGON, 1);
    textured_poly_end(); // nothing open: no second end
    EXPECT_EQ(ops(), (std::vector<NullOp>{BIND, BEGIN, VERTEX, VERTEX, END, BEGIN, VERTEX,
                                          VERTEX, END}));
}

TEST_F(TexturedPolyNull, ShortOrOddArraysDrawNothingAndARaggedTailIsCut)
{
    const auto v = two_vertices();
    textured_poly_begin();
    EXPECT_EQ(textured_poly_draw(wing, 0, std::span<const float>(v.data(), 4), 6, 1), 0);
    EXPECT_EQ(textured_poly_draw(wing, 0, std::span<const float>(v.data(), 17), 6, 1), 0);
    textured_poly_end();
    EXPECT_TRUE(ops().empty());
    // Twelve floats hold one whole vertex; the three after it are not read,
    // and the primitive closed by the draw is not ended again.
    textured_poly_begin();
    EXPECT_EQ(textured_poly_draw(wing, 0, std::span<const float>(v.data(), 12), 6, 1), 0);
    textured_poly_end();
    EXPECT_EQ(ops(), (std::vector<NullOp>{BIND, BEGIN, VERTEX, END}));
}

TEST(TexturedPolyColour, TheColourSlotKeepsThePackedBits)
{
    const float c = pack_vertex_colour(0x12, 0x34, 0x56, 0x80);
    EXPECT_EQ(vertex_colour_bits(c), 0x80123456u);
    // Out-of-range channels keep their low byte.
    EXPECT_EQ(vertex_colour_bits(pack_vertex_colour(0x1ff, -1, 0, 0x100)), 0x00ffff00u);
}

TEST_F(TexturedPolyNull, AFrameOfAnotherRendererRaises)
{
    // A frame the null renderer did not make: its class is not the renderer's.
    class ForeignFrame final : public TImageFrame {
    public:
        void draw(float, float, float, float, float, float) override {}
    };
    EXPECT_THROW(current_renderer()->bind_textured_frame(make_ref<ForeignFrame>()),
                 TRuntimeError);
    EXPECT_EQ(current_renderer()->id(), "null");
}

} // namespace
} // namespace vantrel::test
