// The drawing state on the null renderer: initial values, values stored as
// given and applied clamped, the matrix, and what the renderer is handed
// when graphics are opened and bound. Pixels, blend arithmetic and the
// OpenGL caches are checked on OpenGL (draw_state_test.cpp).
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "support/null_fixture.h"

#include <cmath>
#include <limits>

namespace vantrel::test {
namespace {

class NullDrawState : public NullGfxTest {};

// The entries of `op` in the log.
std::vector<NullCall> entries(NullOp op)
{
    std::vector<NullCall> out;
    for (const NullCall& c : draw_log().calls())
        if (c.op == op)
            out.push_back(c);
    return out;
}

TEST(NullDrawStateFresh, OpenGraphicsAppliesInitialStateAndClearsBothBuffers)
{
    start_null_engine();
    // Dirty the state of a first window, then open a second one: each new
    // graphics starts from the initial state.
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    set_colour(1, 2, 3);
    set_clear_colour(9, 9, 9);
    set_mask_colour(4, 5, 6);
    set_auto_centre_handle(1);
    set_default_image_flags(7);
    draw_log().clear();
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    ASSERT_TRUE(current_graphics2d());

    EXPECT_EQ(get_blend_mode(), BLEND_MASK);
    int r, g, b;
    get_colour(r, g, b);
    EXPECT_EQ(r, 255); EXPECT_EQ(g, 255); EXPECT_EQ(b, 255);
    get_clear_colour(r, g, b);
    EXPECT_EQ(r, 0); EXPECT_EQ(g, 0); EXPECT_EQ(b, 0);
    get_mask_colour(r, g, b);
    EXPECT_EQ(r, 0); EXPECT_EQ(g, 0); EXPECT_EQ(b, 0);
    EXPECT_EQ(get_alpha(), 1.0f);
    float x, y;
    get_origin(x, y);
    EXPECT_EQ(x, 0.0f); EXPECT_EQ(y, 0.0f);
    get_handle(x, y);
    EXPECT_EQ(x, 0.0f); EXPECT_EQ(y, 0.0f);
    int vx, vy, vw, vh;
    get_viewport(vx, vy, vw, vh);
    EXPECT_EQ(vx, 0); EXPECT_EQ(vy, 0); EXPECT_EQ(vw, 640); EXPECT_EQ(vh, 480);
    auto g2d = current_graphics2d();
    EXPECT_EQ(g2d->rotation, 0.0f);
    EXPECT_EQ(g2d->ix, 1.0f);
    EXPECT_EQ(g2d->iy, 0.0f);
    EXPECT_TRUE(std::signbit(g2d->iy)); // -sin(0) * 1
    EXPECT_EQ(g2d->jx, 0.0f);
    EXPECT_EQ(g2d->jy, 1.0f);
    EXPECT_EQ(get_line_width(), 1.0f);
    EXPECT_EQ(get_auto_centre_handle(), 0);
    EXPECT_EQ(get_default_image_flags(), 3);
    EXPECT_EQ(current_font(), default_font());
    EXPECT_EQ(g2d->initialised, 1);

    // Both buffers cleared: clear, show, clear, show, in the clear colour black.
    std::vector<NullOp> frame_ops;
    for (const NullCall& c : draw_log().calls())
        if (c.op == NullOp::Clear || c.op == NullOp::Flip) {
            frame_ops.push_back(c.op);
            if (c.op == NullOp::Clear) {
                EXPECT_EQ(c.colour[0] + c.colour[1] + c.colour[2], 0);
            }
        }
    EXPECT_EQ(frame_ops, (std::vector<NullOp>{NullOp::Clear, NullOp::Flip, NullOp::Clear,
                                               NullOp::Flip}));
    for (const NullCall& f : entries(NullOp::Flip))
        EXPECT_EQ(f.ints[0], 0);
    close_opened_graphics();
}

TEST_F(NullDrawState, RendererIsNamedNullAndReportsTheOpenedSettings)
{
    EXPECT_EQ(current_renderer()->to_string(), Text(u"Null"));
    EXPECT_EQ(current_renderer()->id(), "null");
    EXPECT_EQ(current_renderer()->capabilities(), RENDERER_DRAWS_INTO_IMAGES);
    EXPECT_EQ(current_graphics2d()->driver(), Ref<TDisplayDriver>(current_renderer()));
    int w, h, d, hz, f;
    current_graphics2d()->get_settings(w, h, d, hz, f);
    EXPECT_EQ(w, 640); EXPECT_EQ(h, 480); EXPECT_EQ(d, 0); EXPECT_EQ(hz, 60); EXPECT_EQ(f, 2);
}

TEST_F(NullDrawState, ColourIsStoredAsGivenAndDrawnClamped)
{
    set_colour(300, -5, 128);
    int r, g, b;
    get_colour(r, g, b);
    EXPECT_EQ(r, 300); EXPECT_EQ(g, -5); EXPECT_EQ(b, 128);
    auto p = shapes_of([] { draw_rect(10, 10, 4, 4); });
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].colour[0], 255);
    EXPECT_EQ(p[0].colour[1], 0);
    EXPECT_EQ(p[0].colour[2], 128);
}

TEST_F(NullDrawState, AlphaClampsToItsByte)
{
    const uint8_t* c = null_render_driver()->colour();
    set_alpha(1.5f);
    EXPECT_EQ(c[3], 255);
    EXPECT_EQ(get_alpha(), 1.5f);
    set_alpha(-0.2f);
    EXPECT_EQ(c[3], 0);
    set_alpha(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(c[3], 0);
    set_alpha(0.5f);
    EXPECT_EQ(c[3], 127);
    set_alpha(128.0f / 255.0f);
    EXPECT_EQ(c[3], 128);
    set_alpha(1.0f);
    EXPECT_EQ(c[3], 255);
}

TEST_F(NullDrawState, EveryChangeReachesTheRendererAsGiven)
{
    set_blend_mode(BLEND_LIGHT);
    set_blend_mode(BLEND_LIGHT); // the layer keeps no cache; renderers may
    set_blend_mode(99);
    set_line_width(3);
    set_viewport(10, 20, 100, 50);
    auto blends = entries(NullOp::SetBlend);
    ASSERT_EQ(blends.size(), 3u);
    EXPECT_EQ(blends[0].ints[0], BLEND_LIGHT);
    EXPECT_EQ(blends[2].ints[0], 99);
    EXPECT_EQ(get_blend_mode(), 99);
    ASSERT_EQ(entries(NullOp::SetLineWidth).size(), 1u);
    EXPECT_EQ(entries(NullOp::SetLineWidth)[0].floats[0], 3.0f);
    EXPECT_EQ(get_line_width(), 3.0f);
    const auto v = entries(NullOp::SetViewport);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].ints[0], 10); EXPECT_EQ(v[0].ints[1], 20);
    EXPECT_EQ(v[0].ints[2], 100); EXPECT_EQ(v[0].ints[3], 50);
}

TEST_F(NullDrawState, RebindingHandsTheGraphicsItsStateBack)
{
    set_colour(1, 2, 3);
    set_alpha(0.25f);
    set_viewport(10, 20, 100, 50);
    set_rotation(90);
    bind_graphics(nullptr);
    draw_log().clear();
    bind_graphics(opened_graphics());
    std::vector<NullOp> ops;
    for (const NullCall& c : draw_log().calls())
        ops.push_back(c.op);
    EXPECT_EQ(ops, (std::vector<NullOp>{NullOp::Bind, NullOp::SetViewport, NullOp::SetMatrix,
                                         NullOp::SetColour, NullOp::SetAlpha}));
    const auto& calls = draw_log().calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].ints[0], 640);
    EXPECT_EQ(calls[0].ints[1], 480);
    EXPECT_EQ(calls[1].ints[2], 100);
    EXPECT_FLOAT_EQ(calls[2].floats[1], -1.0f);
    EXPECT_EQ(calls[3].ints[2], 3);
    EXPECT_EQ(calls[4].floats[0], 0.25f);
    EXPECT_EQ(calls[4].colour[3], 63);
}

TEST_F(NullDrawState, ScaleAndRotationBuildTheMatrix)
{
    set_rotation(90);
    set_scale(2, 1);
    auto g = current_graphics2d();
    EXPECT_NEAR(g->ix, 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(g->iy, -1.0f);
    EXPECT_FLOAT_EQ(g->jx, 2.0f);
    EXPECT_NEAR(g->jy, 0.0f, 1e-6);
    EXPECT_EQ(get_rotation(), 90.0f);
    float sx, sy;
    get_scale(sx, sy);
    EXPECT_EQ(sx, 2.0f);
    EXPECT_EQ(sy, 1.0f);
    const ScreenMatrix& m = null_render_driver()->matrix();
    EXPECT_EQ(m.ix, g->ix); EXPECT_EQ(m.iy, g->iy); EXPECT_EQ(m.jx, g->jx); EXPECT_EQ(m.jy, g->jy);
    // A positive rotation turns clockwise on screen: local +x goes down.
    set_transform(90, 1, 1);
    auto p = shapes_of([] { draw_rect(100, 100, 20, 4); });
    ASSERT_EQ(p.size(), 1u);
    const NullVertex want[] = {{100, 100}, {100, 120}, {96, 120}, {96, 100}};
    ASSERT_EQ(p[0].vertices.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(p[0].vertices[i].x, want[i].x, 1e-4) << i;
        EXPECT_NEAR(p[0].vertices[i].y, want[i].y, 1e-4) << i;
    }
}

TEST_F(NullDrawState, HandleIsStoredNegated)
{
    set_handle(8, 4);
    float x, y;
    get_handle(x, y);
    EXPECT_EQ(x, -8.0f);
    EXPECT_EQ(y, -4.0f);
}

TEST_F(NullDrawState, OriginMovesEveryOperation)
{
    set_origin(10, 0);
    auto p = shapes_of([] {
        plot_point(5, 5);
        draw_rect(100, 100, 10, 10);
        draw_line(0, 0, 1, 0, 0);
    });
    ASSERT_EQ(p.size(), 3u);
    expect_vertices(p[0], {{15.5f, 5.5f}});
    expect_vertices(p[1], {{110, 100}, {120, 100}, {120, 110}, {110, 110}});
    expect_vertices(p[2], {{10.5f, 0.5f}, {11.5f, 0.5f}});
    float x, y;
    get_origin(x, y);
    EXPECT_EQ(x, 10.0f);
    EXPECT_EQ(y, 0.0f);
}

} // namespace
} // namespace vantrel::test
