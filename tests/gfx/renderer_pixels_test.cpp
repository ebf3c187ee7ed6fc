// Pixels every renderer draws alike, run once per renderer (the ES 2.0 run
// has VANTREL_TEST_RENDERER=gles2): wide lines, points under a matrix, the
// clipped clear, textured polygons with vertex colours, mask-mode textures,
// and textures that outlive their graphics. Then what only the ES 2.0
// renderer has: its batches.
#include "assets/pixmap.h"
#include "gfx/draw.h"
#include "gfx/gles2/gles2_render_driver.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/render_driver.h"
#include "support/gfx_fixture.h"

namespace vantrel::test {
namespace {

const RGB WHITE{255, 255, 255};
const RGB BLACK{0, 0, 0};

class RendererPixels : public GfxTest {
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        set_blend_mode(BLEND_SOLID);
    }
};

Ref<TPixmap> solid(int w, int h, uint32_t argb)
{
    auto p = new_pixmap(w, h, FORMAT_RGBA32, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->put_pixel(x, y, argb);
    return p;
}

TEST_F(RendererPixels, WideLinesCoverTheirWidthAcrossTheMajorAxis)
{
    set_line_width(3);
    draw_line(100, 100, 120, 100, 0);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{100, 99, 120, 102}));
    EXPECT_EQ(count_pixels(100, 99, 120, 102, WHITE), 60);
    clear_screen();
    draw_line(200, 50, 200, 80, 0);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{199, 50, 202, 80}));
    EXPECT_EQ(count_pixels(199, 50, 202, 80, WHITE), 90);
}

TEST_F(RendererPixels, ThinLineLeavesItsLastPixelOutAndPointsStayOnePixel)
{
    draw_line(0, 0, 10, 0, 0);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{0, 0, 10, 1}));
    clear_screen();
    set_scale(2, 2);
    set_rotation(45);
    set_line_width(5);
    plot_point(5, 5);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{5, 5, 6, 6}));
}

TEST_F(RendererPixels, ClearAndDrawingStayInsideTheViewport)
{
    set_clear_colour(0, 0, 255);
    set_viewport(10, 20, 30, 40);
    clear_screen();
    EXPECT_EQ(count_pixels(0, 0, 640, 480, RGB{0, 0, 255}), 30 * 40);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{10, 20, 40, 60}));
    draw_rect(0, 0, 640, 480);
    EXPECT_EQ(count_pixels(0, 0, 640, 480, WHITE), 30 * 40);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{10, 20, 40, 60}));
}

TEST_F(RendererPixels, TexturedPolygonTakesItsVertexColours)
{
    auto image = TImage::load(Ref<TObject>(solid(4, 4, 0xFFFFFFFF)), 0, 0, 0, 0);
    const Ref<TRenderDriver> r = current_renderer();
    r->use_vertex_colours();
    r->bind_textured_frame(image->frame(0));
    r->begin_textured(TexturedPrimitive::Polygon);
    const float corners[4][2] = {{50, 50}, {90, 50}, {90, 70}, {50, 70}};
    for (const auto& c : corners)
        r->textured_vertex(TexturedVertex{.x = c[0], .y = c[1], .rgba = {200, 100, 50, 255},
                                          .u = 0.1f, .v = 0.1f});
    r->end_textured();
    EXPECT_EQ(count_pixels(50, 50, 90, 70, RGB{200, 100, 50}), 40 * 20);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{50, 50, 90, 70}));
}

TEST_F(RendererPixels, MaskModeTexturesLeaveTransparentTexelsOut)
{
    auto p = solid(8, 8, 0xFF00FF00);
    for (int y = 0; y < 8; ++y)
        for (int x = 4; x < 8; ++x)
            p->put_pixel(x, y, 0x7FFF0000); // alpha just below one half
    auto image = TImage::load(Ref<TObject>(p), 0, 0, 0, 0);
    set_blend_mode(BLEND_MASK);
    draw_image(image, 100, 100, 0);
    EXPECT_EQ(count_pixels(100, 100, 104, 108, RGB{0, 255, 0}), 32);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{100, 100, 104, 108}));
}

TEST_F(RendererPixels, TexturesOutliveTheGraphicsTheyWereDrawnIn)
{
    auto image = TImage::load(Ref<TObject>(solid(4, 4, 0xFFFF8000)), 0, 0, 0, 0);
    draw_image(image, 10, 10, 0);
    EXPECT_EQ(pixel(11, 11), (RGB{255, 128, 0}));
    close_opened_graphics();
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0)) << last_graphics_error().to_bytes();
    reset_state();
    draw_image(image, 20, 20, 0);
    EXPECT_EQ(pixel(21, 21), (RGB{255, 128, 0}));
}

// An 8-bit product rounded: t / 255 as (t + t / 256 + 128) / 256.
int product(int a, int b)
{
    const int t = a * b;
    return (t + (t >> 8) + 128) >> 8;
}

// The rounding two implementations differ on, pinned down: a renderer that
// rounded the blended sum once, not each product, fails here.
TEST_F(RendererPixels, BlendingRoundsEachEightBitProduct)
{
    // Over (50, 50, 50): source over by alpha 100, and 13 added.
    set_clear_colour(50, 50, 50);
    clear_screen();
    set_blend_mode(BLEND_ALPHA);
    set_colour(200, 201, 10);
    set_alpha(100 / 255.0f);
    draw_rect(300, 0, 10, 10);
    set_blend_mode(BLEND_LIGHT);
    set_alpha(13 / 255.0f);
    draw_rect(320, 0, 10, 10);
    set_alpha(1);
    const auto over = [](int c) { return product(c, 100) + product(50, 155); };
    EXPECT_EQ(pixel(305, 5), (RGB{over(200), over(201), over(10)}));
    EXPECT_EQ(pixel(325, 5), (RGB{50 + product(200, 13), 50 + product(201, 13), 50 + product(10, 13)}));
}

// A binding starts the ES renderer with blending off: the colour is then
// drawn as it is, not multiplied by its alpha for a blend that is not on.
TEST_F(RendererPixels, EsRebindingLeavesNoHalfOfTheEarlierBlendMode)
{
    if (!(current_renderer()->capabilities() & RENDERER_BATCHES))
        GTEST_SKIP() << "the " << current_renderer()->to_string().to_bytes()
                     << " renderer keeps the context's blending across bindings";
    set_blend_mode(BLEND_ALPHA);
    bind_graphics(current_graphics());
    set_colour(200, 201, 10);
    set_alpha(100 / 255.0f);
    draw_rect(300, 0, 10, 10);
    set_alpha(1);
    EXPECT_EQ(pixel(305, 5), (RGB{200, 201, 10}));
}

TEST_F(RendererPixels, EsBatchesDrawOncePerStateAndFlushOnChange)
{
    if (!(current_renderer()->capabilities() & RENDERER_BATCHES))
        GTEST_SKIP() << "the " << current_renderer()->to_string().to_bytes()
                     << " renderer draws each shape at once";
    EXPECT_EQ(current_renderer()->to_string(), Text(u"OpenGL ES"));
    EXPECT_EQ(current_renderer()->id(), "gles2");
    const Ref<Gles2RenderDriver> r = gles2_render_driver();
    r->flush();
    r->take_draw_calls();
    for (int i = 0; i < 100; ++i)
        draw_rect(static_cast<float>(i * 6), 0, 4, 4);
    draw_oval(300, 300, 40, 20);
    EXPECT_EQ(pixel(2, 2), WHITE); // reading draws what is batched
    EXPECT_EQ(r->take_draw_calls(), 1);
    draw_rect(0, 100, 4, 4);
    set_blend_mode(BLEND_ALPHA);
    draw_rect(0, 200, 4, 4);
    plot_point(5, 300);
    EXPECT_EQ(pixel(0, 200), WHITE);
    EXPECT_EQ(r->take_draw_calls(), 3);
}

} // namespace
} // namespace vantrel
