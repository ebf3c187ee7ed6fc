// Offscreen images on the null renderer, so that logic built on them runs
// without a display: the frames it records, the target switches in its log,
// the window's state coming back, a new window, the refusals. Pixels are
// checked on OpenGL (render_image_test.cpp).
#include "core/error.h"
#include "gfx/draw.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/null/null_render_frame.h"
#include "gfx/render_image.h"
#include "support/null_fixture.h"

#include <algorithm>
#include <string>

namespace vantrel::test {
namespace {

class NullRenderImage : public NullGfxTest {
protected:
    void TearDown() override { set_render_target(nullptr); }
};

std::vector<NullCall> calls_of(NullOp op)
{
    std::vector<NullCall> found;
    for (const NullCall& c : draw_log().calls())
        if (c.op == op)
            found.push_back(c);
    return found;
}

TEST_F(NullRenderImage, AnImageIsATextureMadeOnceThatDrawingTargets)
{
    const Ref<TImage> image = create_render_image(100, 60, IMAGE_FILTERED | IMAGE_MIPMAPPED);
    ASSERT_TRUE(image) << last_graphics_error().to_bytes();
    EXPECT_EQ(image->flags, IMAGE_FILTERED) << "no mipmaps to remake after drawing";
    const auto made = calls_of(NullOp::CreateTexture);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ((std::array<int, 3>{made[0].ints[0], made[0].ints[1], made[0].ints[2]}),
              (std::array<int, 3>{100, 60, IMAGE_FILTERED}));
    const uint32_t texture = made[0].texture;

    set_render_target(image);
    EXPECT_EQ(screen_width(), 100);
    EXPECT_EQ(screen_height(), 60);
    draw_rect(1, 2, 3, 4);
    set_render_target(nullptr);
    draw_image(image, 10, 20, 0);

    const auto targets = calls_of(NullOp::RenderTarget);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0].texture, texture);
    EXPECT_EQ((std::array<int, 2>{targets[0].ints[0], targets[0].ints[1]}),
              (std::array<int, 2>{100, 60}));
    EXPECT_EQ(targets[1].texture, 0u);
    EXPECT_EQ((std::array<int, 2>{targets[1].ints[0], targets[1].ints[1]}),
              (std::array<int, 2>{640, 480}));
    const auto shapes = draw_log().shapes();
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].texture, 0u);
    expect_vertices(shapes[1], {{10, 20, 0, 0}, {110, 20, 1, 0}, {110, 80, 1, 1}, {10, 80, 0, 1}});
    EXPECT_EQ(shapes[1].texture, texture);
    EXPECT_TRUE(calls_of(NullOp::CreateTexture).size() == 1) << "drawing it made no other";
}

TEST_F(NullRenderImage, TheWindowStateComesBackAndTheLogShowsItReapplied)
{
    const Ref<TImage> image = create_render_image(32, 32);
    ASSERT_TRUE(image);
    set_viewport(5, 6, 70, 80);
    set_origin(3, 4);
    set_colour(1, 2, 3);
    set_blend_mode(BLEND_LIGHT);
    set_render_target(image);
    int32_t x, y, w, h;
    get_viewport(x, y, w, h);
    EXPECT_EQ((std::array<int, 4>{x, y, w, h}), (std::array<int, 4>{0, 0, 32, 32}));
    set_colour(9, 9, 9);
    set_blend_mode(BLEND_SHADE);
    set_origin(1, 1);
    draw_log().clear();
    set_render_target(nullptr);
    get_viewport(x, y, w, h);
    EXPECT_EQ((std::array<int, 4>{x, y, w, h}), (std::array<int, 4>{5, 6, 70, 80}));
    float ox, oy;
    get_origin(ox, oy);
    EXPECT_EQ(ox, 3);
    EXPECT_EQ(get_blend_mode(), BLEND_LIGHT);
    const auto viewports = calls_of(NullOp::SetViewport);
    ASSERT_EQ(viewports.size(), 1u);
    EXPECT_EQ(viewports[0].ints[2], 70);
    const auto colours = calls_of(NullOp::SetColour);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_EQ(colours[0].ints[2], 3);
    const auto blends = calls_of(NullOp::SetBlend);
    ASSERT_EQ(blends.size(), 1u);
    EXPECT_EQ(blends[0].ints[0], BLEND_LIGHT);
    EXPECT_EQ(draw_log().calls().front().op, NullOp::RenderTarget) << "the target first, then the state";
}

TEST_F(NullRenderImage, ReadBackIsBlankAndSizedAndTheTargetStays)
{
    const Ref<TImage> a = create_render_image(7, 3), b = create_render_image(2, 2);
    ASSERT_TRUE(a && b);
    set_render_target(b);
    const Ref<TPixmap> p = grab_render_image(a);
    ASSERT_EQ(p->width, 7);
    ASSERT_EQ(p->height, 3);
    EXPECT_EQ(p->format, FORMAT_RGBA32);
    EXPECT_EQ(p->get_pixel(6, 2) & 0xFF000000u, 0u);
    EXPECT_TRUE(same_object(render_target(), b));
    EXPECT_EQ(screen_width(), 2);
    const auto targets = calls_of(NullOp::RenderTarget);
    ASSERT_EQ(targets.size(), 3u); // b, a for the read, b again
    EXPECT_EQ(targets[1].ints[0], 7);
    EXPECT_EQ(targets[2].ints[0], 2);
}

TEST_F(NullRenderImage, ANewWindowKeepsTheFrameAndFlipGoesBackFirst)
{
    const Ref<TImage> image = create_render_image(16, 16);
    ASSERT_TRUE(image);
    const Ref<TImageFrame> frame = image->frame(0);
    set_render_target(image);
    flip_frame(0);
    EXPECT_FALSE(render_target());
    const auto& calls = draw_log().calls();
    ASSERT_EQ(calls.back().op, NullOp::Flip);
    const auto back = std::find_if(calls.rbegin(), calls.rend(),
                                   [](const NullCall& c) { return c.op == NullOp::RenderTarget; });
    ASSERT_NE(back, calls.rend());
    EXPECT_EQ(back->texture, 0u) << "the window was the target when the frame was shown";

    set_render_target(image);
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0)) << last_graphics_error().to_bytes();
    EXPECT_FALSE(render_target()) << "a new window is drawn into";
    EXPECT_EQ(screen_width(), 640);
    draw_log().clear();
    EXPECT_TRUE(same_object(image->frame(0), frame));
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(calls_of(NullOp::CreateTexture).size(), 0u) << "not remade from a pixmap";
    EXPECT_EQ(calls_of(NullOp::DeleteTexture).size(), 0u);
}

TEST_F(NullRenderImage, RefusalsAndMisuse)
{
    for (const auto& [w, h] : {std::pair{0, 1}, std::pair{1, -1}}) {
        EXPECT_FALSE(create_render_image(w, h));
        EXPECT_EQ(last_graphics_error().to_bytes(), "An offscreen image must be at least 1 x 1, not " +
                                                        std::to_string(w) + " x " + std::to_string(h));
    }
    EXPECT_TRUE(create_render_image(NULL_LARGEST_RENDER_SIDE, 1));
    EXPECT_FALSE(create_render_image(1, NULL_LARGEST_RENDER_SIDE + 1));
    EXPECT_EQ(last_graphics_error().to_bytes(),
              "An offscreen image of 1 x 16385 is larger than the null renderer's 16384 x 16384");
    EXPECT_EQ(calls_of(NullOp::CreateTexture).size(), 1u);

    const Ref<TImage> plain = TImage::create(4, 4, 1, 0, 0, 0, 0);
    EXPECT_THROW(set_render_target(plain), TRuntimeError);
    EXPECT_THROW(grab_render_image(plain), TRuntimeError);
    EXPECT_THROW(grab_render_image(nullptr), TRuntimeError);
    const Ref<TImage> image = create_render_image(4, 4);
    set_render_target(image);
    set_render_target(image); // again: nothing
    EXPECT_EQ(calls_of(NullOp::RenderTarget).size(), 1u);
    EXPECT_THROW(draw_image(image, 0, 0, 0), TRuntimeError);
    set_render_target(nullptr);
    EXPECT_THROW(current_renderer()->bind_textured_frame(image->frame(0)), TRuntimeError);
    image->lock(0, 1, 1); // written through a lock: an ordinary, blank image
    EXPECT_FALSE(is_render_image(image));
    EXPECT_THROW(set_render_target(image), TRuntimeError);
}

TEST(NullRenderImageClosed, NeedsOpenGraphics)
{
    start_null_engine();
    close_opened_graphics();
    EXPECT_FALSE(create_render_image(8, 8));
    EXPECT_EQ(last_graphics_error().to_bytes(), "An offscreen image needs open graphics");
}

} // namespace
} // namespace vantrel::test
