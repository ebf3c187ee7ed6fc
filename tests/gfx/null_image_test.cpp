// Images on the null renderer: loading settings, masking, strips and
// locking, where each frame's texture is made, drawn and deleted per
// graphics generation, and where handle, scale and origin put the picture.
// Texture sizes, texels and pixels are checked on OpenGL (image_test.cpp).
#include "assets/pixmap.h"
#include "core/error.h"
#include "gfx/draw.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/null/null_texture_frame.h"
#include "support/null_fixture.h"

namespace vantrel::test {
namespace {

// A w x h RGB picture of one colour.
Ref<TPixmap> solid_rgb(int w, int h, uint32_t argb)
{
    auto p = new_pixmap(w, h, FORMAT_RGB24, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->put_pixel(x, y, argb);
    return p;
}

// Distinct colour per pixel, for checking where pixels go.
uint32_t pattern(int x, int y) { return make_argb(255, x * 2, y * 4, (x + y) & 255); }

Ref<TPixmap> patterned_rgba(int w, int h)
{
    auto p = new_pixmap(w, h, FORMAT_RGBA32, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->put_pixel(x, y, pattern(x, y));
    return p;
}

uint32_t texture_of(const Ref<TImage>& image)
{
    auto frame = ref_cast<TNullTextureFrame>(image->frame(0));
    return frame ? frame->texture : 0;
}

class NullImages : public NullGfxTest {};

TEST(ImageSettings, DefaultFlagsMinusOneChangesNothing)
{
    set_default_image_flags(5);
    set_default_image_flags(-1);
    EXPECT_EQ(get_default_image_flags(), 5);
}

TEST(ImageSettings, MaskColourIsStoredUnclamped)
{
    set_mask_colour(300, -1, 7);
    int r, g, b;
    get_mask_colour(r, g, b);
    EXPECT_EQ(r, 300); EXPECT_EQ(g, -1); EXPECT_EQ(b, 7);
}

TEST(ImageSettings, CentreHandleOfOddSize)
{
    auto image = TImage::create(255, 255, 1, 0, 0, 0, 0);
    centre_image_handle(image);
    EXPECT_EQ(image->handle_x, 127.5f);
    EXPECT_EQ(image->handle_y, 127.5f);
    set_image_handle(image, 0, 0);
    EXPECT_EQ(image->handle_x, 0.0f);
    EXPECT_EQ(image_width(image), 255);
    EXPECT_EQ(image_height(image), 255);
}

TEST(ImageLoading, MaskedPictureWithoutAlphaIsColourKeyed)
{
    auto p = solid_rgb(3, 1, 0xFFFF0000);
    p->put_pixel(1, 0, 0xFFFF00FF);
    auto image = TImage::load(Ref<TObject>(p), IMAGE_MASKED, 255, 0, 255);
    ASSERT_TRUE(image);
    auto stored = image->pixmaps[0];
    EXPECT_EQ(stored->format, FORMAT_RGBA32);
    EXPECT_EQ(stored->get_pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(stored->get_pixel(1, 0) >> 24, 0u);
    EXPECT_EQ(image->generations[0], 0);
    EXPECT_FALSE(image->frames[0]);
}

TEST(ImageLoading, PictureWithAlphaIsNotMasked)
{
    auto p = new_pixmap(2, 1, FORMAT_RGBA32, 4);
    p->put_pixel(0, 0, 0x80000000);
    p->put_pixel(1, 0, 0xFF123456);
    auto image = TImage::load(Ref<TObject>(p), IMAGE_MASKED, 0, 0, 0);
    EXPECT_EQ(image->pixmaps[0], p);
    EXPECT_EQ(image->pixmaps[0]->get_pixel(0, 0), 0x80000000u);
}

TEST(ImageLoading, UnmaskedPictureIsKeptAsIs)
{
    auto p = solid_rgb(2, 2, 0xFF000000);
    auto image = TImage::load(Ref<TObject>(p), IMAGE_FILTERED, 0, 0, 0);
    EXPECT_EQ(image->pixmaps[0], p);
}

TEST(ImageLoading, UnopenableLocationGivesNullWithoutTheRenderer)
{
    start_null_engine();
    draw_log().clear();
    auto image = load_image(Text(u"incbin::no-such-picture.png"), 3);
    EXPECT_FALSE(image);
    EXPECT_TRUE(draw_log().calls().empty());
}

TEST(ImageLoading, LoadingTouchesNoRenderer)
{
    start_null_engine();
    draw_log().clear();
    auto image = load_image(Ref<TObject>(solid_rgb(4, 4, 0xFF112233)), 3);
    ASSERT_TRUE(image);
    EXPECT_TRUE(draw_log().calls().empty());
}

TEST(ImageLoading, AutomaticCentredHandle)
{
    set_auto_centre_handle(1);
    auto image = load_image(Ref<TObject>(solid_rgb(512, 512, 0xFF00FF00)), 3);
    set_auto_centre_handle(0);
    EXPECT_EQ(image->handle_x, 256.0f);
    EXPECT_EQ(image->handle_y, 256.0f);
    set_image_handle(image, 0, 0);
    EXPECT_EQ(image->handle_x, 0.0f);
}

TEST(ImageLoading, StripCutsCellsLeftToRightTopToBottom)
{
    auto sheet = patterned_rgba(30, 20); // 3 x 2 cells of 10 x 10
    auto image = load_image_strip(Ref<TObject>(sheet), 10, 10, 2, 3, 0);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->pixmaps.size(), 3u);
    EXPECT_EQ(image->pixmaps[0]->get_pixel(0, 0), pattern(20, 0));
    EXPECT_EQ(image->pixmaps[1]->get_pixel(3, 4), pattern(3, 14));
    EXPECT_EQ(image->pixmaps[2]->get_pixel(9, 9), pattern(19, 19));
    EXPECT_FALSE(load_image_strip(Ref<TObject>(sheet), 10, 10, 4, 3, 0));
}

TEST(ImageLoading, LockMakesABlankPixmapAndWriteDropsTheFrame)
{
    auto image = TImage::create(4, 2, 2, 0, 0, 0, 0);
    auto p = image->lock(1, 1, 0);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 4);
    EXPECT_EQ(p->format, FORMAT_RGBA32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(p->get_pixel(x, y), 0u); // transparent, never stray memory
    EXPECT_EQ(image->lock(1, 1, 1), p);
    EXPECT_THROW(image->lock(2, 1, 0), TRuntimeError);
}

TEST_F(NullImages, TextureIsMadeOncePerGeneration)
{
    auto image = TImage::load(Ref<TObject>(solid_rgb(4, 4, 0xFFFFFFFF)), 0, 0, 0, 0);
    draw_log().clear();
    draw_image(image, 0, 0, 0);
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(draw_log().count(NullOp::CreateTexture), 1);
    EXPECT_EQ(draw_log().count(NullOp::BindTexture), 1);
    EXPECT_EQ(draw_log().shapes().size(), 2u);
    EXPECT_EQ(image->generations[0], graphics_seq());
}

TEST_F(NullImages, WritingThroughLockRemakesTheTexture)
{
    auto image = TImage::create(4, 4, 1, 0, 0, 0, 0);
    image->lock(0, 0, 1);
    draw_image(image, 0, 0, 0);
    const uint32_t first = texture_of(image);
    draw_log().clear();
    image->lock(0, 0, 1);
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(draw_log().count(NullOp::CreateTexture), 1);
    EXPECT_NE(texture_of(image), first);
    // Reading only keeps the texture.
    image->lock(0, 1, 0);
    draw_log().clear();
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(draw_log().count(NullOp::CreateTexture), 0);
}

TEST_F(NullImages, TextureIsMadeFromThePictureWithTheImageFlags)
{
    auto image = TImage::load(Ref<TObject>(patterned_rgba(100, 60)), IMAGE_FILTERED, 0, 0, 0);
    draw_log().clear();
    draw_image(image, 5, 6, 0);
    ASSERT_EQ(draw_log().count(NullOp::CreateTexture), 1);
    const NullCall& made = draw_log().calls()[0];
    EXPECT_EQ(made.ints[0], 100);
    EXPECT_EQ(made.ints[1], 60);
    EXPECT_EQ(made.ints[2], IMAGE_FILTERED);
    auto p = draw_log().shapes();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].texture, made.texture);
    EXPECT_EQ(p[0].primitive, Primitive::Quads);
    expect_vertices(p[0], {{5, 6}, {105, 6}, {105, 66}, {5, 66}});
}

TEST_F(NullImages, HandleScaleAndOriginPlaceTheImage)
{
    auto image = TImage::load(Ref<TObject>(solid_rgb(256, 256, 0xFF20A040)), 0, 0, 0, 0);
    set_image_handle(image, 128, 128);
    auto p = shapes_of([&] { draw_image(image, 320, 240, 0); });
    ASSERT_EQ(p.size(), 1u);
    expect_vertices(p[0], {{192, 112}, {448, 112}, {448, 368}, {192, 368}});
    set_scale(2, 2);
    p = shapes_of([&] { draw_image(image, 320, 240, 0); });
    expect_vertices(p[0], {{64, -16}, {576, -16}, {576, 496}, {64, 496}});
    set_scale(1, 1);
    set_handle(5, 5); // the state's handle does not move images
    set_origin(10, 0);
    p = shapes_of([&] { draw_image(image, 320, 240, 0); });
    expect_vertices(p[0], {{202, 112}, {458, 112}, {458, 368}, {202, 368}});
}

TEST(NullImageGenerations, SecondOpenGraphicsRemakesTexturesAndDeletesTheOld)
{
    start_null_engine();
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    auto image = TImage::load(Ref<TObject>(solid_rgb(8, 8, 0xFF00FF00)), 0, 0, 0, 0);
    draw_image(image, 0, 0, 0);
    const uint32_t first = texture_of(image);
    const int32_t first_seq = graphics_seq();

    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    EXPECT_NE(graphics_seq(), first_seq);
    draw_log().clear();
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(draw_log().count(NullOp::CreateTexture), 1);
    ASSERT_EQ(draw_log().count(NullOp::DeleteTexture), 1);
    for (const NullCall& c : draw_log().calls()) {
        if (c.op == NullOp::DeleteTexture) {
            EXPECT_EQ(c.texture, first);
        }
    }
    EXPECT_EQ(image->generations[0], graphics_seq());
    close_opened_graphics();
}

} // namespace
} // namespace vantrel::test
