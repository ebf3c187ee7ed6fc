// Images on OpenGL: texture sizes and edge extension, texels, filters and
// mipmaps, placement by handle, scale and origin in pixels, the renderer's
// texture caches and texture lifetime. Loading settings, masking and the
// textures made per generation are checked on the null backend
// (null_image_test.cpp).
#include "assets/pixmap.h"
#include "core/error.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "support/gfx_fixture.h"
#include "support/gl_spy.h"

#include <GL/gl.h>

namespace vantrel::test {
namespace {

const RGB BLACK{0, 0, 0};

// A w x h RGB picture of one colour, with an optional other-coloured border.
Ref<TPixmap> solid_rgb(int w, int h, uint32_t argb)
{
    auto p = new_pixmap(w, h, FORMAT_RGB24, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->put_pixel(x, y, argb);
    return p;
}

// Distinct colour per pixel, for checking where texels go.
uint32_t pattern(int x, int y) { return make_argb(255, x * 2, y * 4, (x + y) & 255); }

Ref<TPixmap> patterned_rgba(int w, int h)
{
    auto p = new_pixmap(w, h, FORMAT_RGBA32, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p->put_pixel(x, y, pattern(x, y));
    return p;
}

Ref<TGLTextureFrame> gl_frame(const Ref<TImage>& image)
{
    return ref_cast<TGLTextureFrame>(image->frame(0));
}

// Texel (x, y) of level 0 of a texture (textures are shared, so the drawing
// context can read them).
uint32_t texel(uint32_t texture, int tw, int th, int x, int y)
{
    std::vector<uint8_t> buf(static_cast<size_t>(tw) * th * 4);
    gl_render_driver()->enable_texture(texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, buf.data());
    const uint8_t* p = &buf[(static_cast<size_t>(y) * tw + x) * 4];
    return make_argb(p[3], p[0], p[1], p[2]);
}

GLint tex_param(uint32_t texture, GLenum name)
{
    gl_render_driver()->enable_texture(texture);
    GLint v = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &v);
    return v;
}

class Images : public GfxTest {};

TEST(TextureLayout, EdgeExtensionRepeatsLastColumnRowAndCorner)
{
    auto t = extend_to_texture(patterned_rgba(100, 60), 128, 64);
    ASSERT_EQ(t->width, 128);
    ASSERT_EQ(t->height, 64);
    EXPECT_EQ(t->get_pixel(0, 0), pattern(0, 0));
    EXPECT_EQ(t->get_pixel(99, 59), pattern(99, 59));
    for (int y : {0, 30, 59}) {
        EXPECT_EQ(t->get_pixel(100, y), pattern(99, y));
        EXPECT_EQ(t->get_pixel(127, y), pattern(99, y));
    }
    for (int x : {0, 50, 99}) {
        EXPECT_EQ(t->get_pixel(x, 60), pattern(x, 59));
        EXPECT_EQ(t->get_pixel(x, 63), pattern(x, 59));
    }
    EXPECT_EQ(t->get_pixel(100, 60), pattern(99, 59));
    EXPECT_EQ(t->get_pixel(127, 63), pattern(99, 59));
}

TEST(TextureLayout, EmptyPictureGivesATransparentTexture)
{
    auto t = extend_to_texture(new_pixmap(0, 0, FORMAT_RGBA32, 4), 1, 1);
    EXPECT_EQ(t->get_pixel(0, 0), 0u);
}

TEST_F(Images, EmptyImageDrawsNothing)
{
    auto image = TImage::create(0, 0, 1, 0, 0, 0, 0);
    draw_image(image, 10, 10, 0);
    EXPECT_EQ(bounds_not(BLACK)[0], -1);
}

TEST_F(Images, FitTextureSizeRoundsUpToPowersOfTwo)
{
    int tw, th;
    fit_texture_size(100, 60, tw, th);
    EXPECT_EQ(tw, 128); EXPECT_EQ(th, 64);
    fit_texture_size(1, 1, tw, th);
    EXPECT_EQ(tw, 1); EXPECT_EQ(th, 1);
    fit_texture_size(256, 257, tw, th);
    EXPECT_EQ(tw, 256); EXPECT_EQ(th, 512);
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    // Beyond the limit the proxy refuses and both sides are halved.
    fit_texture_size(max * 2, 4, tw, th);
    EXPECT_EQ(tw, max); EXPECT_EQ(th, 2);
}

TEST_F(Images, HundredBySixtyPictureGetsAnExtendedTexture)
{
    auto image = TImage::load(Ref<TObject>(patterned_rgba(100, 60)), IMAGE_FILTERED, 0, 0, 0);
    auto f = gl_frame(image);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->u_left, 0.0f);
    EXPECT_EQ(f->v_top, 0.0f);
    EXPECT_EQ(f->u_right, 0.78125f);
    EXPECT_EQ(f->v_bottom, 0.9375f);
    GLint w = 0, h = 0;
    gl_render_driver()->enable_texture(f->texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);
    EXPECT_EQ(texel(f->texture, 128, 64, 37, 21), pattern(37, 21));
    EXPECT_EQ(texel(f->texture, 128, 64, 100, 10), pattern(99, 10));
    EXPECT_EQ(texel(f->texture, 128, 64, 10, 60), pattern(10, 59));
    EXPECT_EQ(texel(f->texture, 128, 64, 100, 60), pattern(99, 59));
    // Drawn at its size, it shows exactly its own pixels.
    set_blend_mode(BLEND_SOLID);
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{0, 0, 100, 60}));
}

TEST_F(Images, AutomaticFlagsAfterOpeningAreMaskedAndFiltered)
{
    auto image = load_image(Ref<TObject>(solid_rgb(2, 2, 0xFF000000)), -1);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->flags, IMAGE_MASKED | IMAGE_FILTERED);
    EXPECT_EQ(image->pixmaps[0]->get_pixel(0, 0) >> 24, 0u); // black keyed out
}

TEST_F(Images, PictureLargerThanTheLimitIsShrunkToFit)
{
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    auto wide = new_pixmap(max * 2, 2, FORMAT_RGBA32, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < max * 2; ++x)
            wide->put_pixel(x, y, x < max ? 0xFFFF0000 : 0xFF0000FF);
    auto image = TImage::load(Ref<TObject>(wide), 0, 0, 0, 0);
    auto f = gl_frame(image);
    EXPECT_EQ(f->u_right, 1.0f);
    EXPECT_EQ(f->v_bottom, 1.0f);
    GLint w = 0, h = 0;
    gl_render_driver()->enable_texture(f->texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, max);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(texel(f->texture, max, 1, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(texel(f->texture, max, 1, max - 1, 0), 0xFF0000FFu);
    EXPECT_EQ(image->width, max * 2); // the image keeps its own size
}

TEST_F(Images, SparkLikePictureIsMaskedFilteredAndSingleLevel)
{
    auto p = solid_rgb(256, 256, 0xFF000000);
    for (int y = 64; y < 192; ++y)
        for (int x = 64; x < 192; ++x)
            p->put_pixel(x, y, 0xFFC3C3C3);
    auto image = load_image(Ref<TObject>(p), 3);
    auto f = gl_frame(image);
    EXPECT_EQ(f->u_right, 1.0f);
    EXPECT_EQ(f->v_bottom, 1.0f);
    EXPECT_EQ(tex_param(f->texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(tex_param(f->texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(tex_param(f->texture, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(tex_param(f->texture, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    GLint w1 = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &w1);
    EXPECT_EQ(w1, 0); // no level 1
    EXPECT_EQ(texel(f->texture, 256, 256, 0, 0) >> 24, 0u);
    EXPECT_EQ(texel(f->texture, 256, 256, 128, 128), 0xFFC3C3C3u);
}

TEST_F(Images, MaskedPicturesTransparentPixelsLeaveTheBackground)
{
    set_clear_colour(0, 128, 255);
    clear_screen();
    auto p = solid_rgb(16, 16, 0xFFFF00FF); // magenta key all round
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            p->put_pixel(x, y, 0xFFFFFFFF);
    set_mask_colour(255, 0, 255);
    auto image = load_image(Ref<TObject>(p), IMAGE_MASKED); // nearest filtering
    for (int mode : {BLEND_MASK, BLEND_ALPHA}) {
        clear_screen();
        set_blend_mode(mode);
        draw_image(image, 100, 100, 0);
        EXPECT_EQ(bounds_not({0, 128, 255}), (std::array<int, 4>{104, 104, 112, 112})) << mode;
        EXPECT_EQ(count_pixels(104, 104, 112, 112, {255, 255, 255}), 64);
    }
}

TEST_F(Images, HandleScaleAndOriginPlaceTheImage)
{
    set_blend_mode(BLEND_SOLID);
    auto image = TImage::load(Ref<TObject>(solid_rgb(256, 256, 0xFF20A040)), 0, 0, 0, 0);
    set_image_handle(image, 128, 128);
    draw_image(image, 320, 240, 0);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{192, 112, 448, 368}));
    EXPECT_EQ(pixel(192, 112), (RGB{0x20, 0xA0, 0x40}));
    clear_screen();
    set_scale(2, 2);
    draw_image(image, 320, 240, 0);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{64, 0, 576, 480}));
    EXPECT_EQ(pixel(64, 0), (RGB{0x20, 0xA0, 0x40}));
    EXPECT_EQ(pixel(63, 100), BLACK);
    clear_screen();
    set_scale(1, 1);
    set_handle(5, 5); // the state's handle does not move images
    set_origin(10, 0);
    draw_image(image, 320, 240, 0);
    EXPECT_EQ(bounds_not(BLACK), (std::array<int, 4>{202, 112, 458, 368}));
}

TEST_F(Images, ImageColourIsModulatedByTheCurrentColourAndAlpha)
{
    set_blend_mode(BLEND_LIGHT);
    set_clear_colour(10, 10, 10);
    clear_screen();
    auto image = TImage::load(Ref<TObject>(solid_rgb(8, 8, 0xFF808080)), 0, 0, 0, 0);
    set_colour(255, 0, 255);
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(pixel(4, 4), (RGB{138, 10, 138}));
}

TEST_F(Images, SameImageTwiceBindsAndEnablesOnce)
{
    auto image = TImage::load(Ref<TObject>(solid_rgb(4, 4, 0xFFFFFFFF)), 0, 0, 0, 0);
    draw_image(image, 0, 0, 0); // makes the texture
    draw_rect(0, 0, 1, 1);      // texturing off again
    gl_render_driver()->forget_texture(gl_frame(image)->texture);
    spy_start();
    draw_image(image, 0, 0, 0);
    draw_image(image, 10, 0, 0);
    spy_stop();
    EXPECT_EQ(spy_count("glBindTexture"), 1);
    EXPECT_EQ(spy_count("glEnable", GL_TEXTURE_2D), 1);
    EXPECT_EQ(spy_count("glBegin"), 2);

    spy_start();
    draw_image(image, 0, 0, 0);
    draw_rect(20, 20, 2, 2);
    draw_image(image, 0, 0, 0);
    spy_stop();
    EXPECT_EQ(spy_count("glBindTexture"), 0);
    EXPECT_EQ(spy_count("glDisable", GL_TEXTURE_2D), 1);
    EXPECT_EQ(spy_count("glEnable", GL_TEXTURE_2D), 1);
}

TEST_F(Images, TexturedQuadCarriesTheFrameCoordinates)
{
    auto image = TImage::load(Ref<TObject>(patterned_rgba(100, 60)), 0, 0, 0, 0);
    image->frame(0);
    spy_start();
    draw_image(image, 5, 6, 0);
    spy_stop();
    std::vector<std::vector<double>> coords;
    for (const auto& c : spy_calls())
        if (c.name == "glTexCoord2f")
            coords.push_back(c.args);
    ASSERT_EQ(coords.size(), 4u);
    EXPECT_EQ(coords[0], (std::vector<double>{0, 0}));
    EXPECT_EQ(coords[1], (std::vector<double>{0.78125, 0}));
    EXPECT_EQ(coords[2], (std::vector<double>{0.78125, 0.9375}));
    EXPECT_EQ(coords[3], (std::vector<double>{0, 0.9375}));
    auto p = spy_primitives();
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].vertices[0].x, 5.0f);
    EXPECT_EQ(p[0].vertices[2].x, 105.0f);
    EXPECT_EQ(p[0].vertices[2].y, 66.0f);
}

TEST_F(Images, TextureIsMadeOncePerGeneration)
{
    auto image = TImage::load(Ref<TObject>(solid_rgb(4, 4, 0xFFFFFFFF)), 0, 0, 0, 0);
    spy_start();
    draw_image(image, 0, 0, 0);
    draw_image(image, 0, 0, 0);
    spy_stop();
    EXPECT_EQ(spy_count("glGenTextures"), 1);
    EXPECT_EQ(spy_count("glTexSubImage2D"), 1);
    EXPECT_EQ(image->generations[0], graphics_seq());
    EXPECT_EQ(gl_frame(image)->seq, graphics_seq());
}

TEST_F(Images, WritingThroughLockRemakesTheTexture)
{
    set_blend_mode(BLEND_SOLID);
    auto image = TImage::create(4, 4, 1, 0, 0, 0, 0);
    auto p = image->lock(0, 0, 1);
    for (int i = 0; i < 16; ++i)
        p->put_pixel(i % 4, i / 4, 0xFFFF0000);
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(pixel(1, 1), (RGB{255, 0, 0}));
    p = image->lock(0, 0, 1);
    for (int i = 0; i < 16; ++i)
        p->put_pixel(i % 4, i / 4, 0xFF0000FF);
    draw_image(image, 0, 0, 0);
    EXPECT_EQ(pixel(1, 1), (RGB{0, 0, 255}));
}

TEST_F(Images, ReleasedTextureNameReusedByANewImageIsBoundAgain)
{
    set_blend_mode(BLEND_SOLID);
    auto red = TImage::load(Ref<TObject>(solid_rgb(4, 4, 0xFFFF0000)), 0, 0, 0, 0);
    draw_image(red, 0, 0, 0);
    const uint32_t name = gl_frame(red)->texture;
    red.reset(); // deletes the texture while it is the bound one
    auto green = TImage::load(Ref<TObject>(solid_rgb(4, 4, 0xFF00FF00)), 0, 0, 0, 0);
    draw_image(green, 0, 0, 0);
    if (gl_frame(green)->texture != name)
        GTEST_LOG_(INFO) << "texture name not reused; the check still holds";
    EXPECT_EQ(pixel(1, 1), (RGB{0, 255, 0}));
}

TEST_F(Images, MipmappedTextureHasEveryLevel)
{
    auto image = TImage::load(Ref<TObject>(patterned_rgba(8, 2)),
                              IMAGE_FILTERED | IMAGE_MIPMAPPED, 0, 0, 0);
    auto f = gl_frame(image);
    EXPECT_EQ(tex_param(f->texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    const int sizes[][2] = {{8, 2}, {4, 1}, {2, 1}, {1, 1}};
    for (int level = 0; level < 4; ++level) {
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, sizes[level][0]) << level;
        EXPECT_EQ(h, sizes[level][1]) << level;
    }
    GLint w4 = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 4, GL_TEXTURE_WIDTH, &w4);
    EXPECT_EQ(w4, 0);
    // Level 3 is the whole picture averaged down.
    std::vector<uint8_t> one(4);
    glGetTexImage(GL_TEXTURE_2D, 3, GL_RGBA, GL_UNSIGNED_BYTE, one.data());
    EXPECT_EQ(one[3], 255);
    auto nearest = TImage::load(Ref<TObject>(patterned_rgba(4, 4)), IMAGE_MIPMAPPED, 0, 0, 0);
    auto nf = gl_frame(nearest);
    EXPECT_EQ(tex_param(nf->texture, GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_NEAREST);
    EXPECT_EQ(tex_param(nf->texture, GL_TEXTURE_MAG_FILTER), GL_NEAREST);
}

TEST_F(Images, TexturesAreMadeInTheSharedContext)
{
    auto first = TImage::load(Ref<TObject>(solid_rgb(4, 4, 0xFFFFFFFF)), 0, 0, 0, 0);
    draw_image(first, 0, 0, 0);
    const uint32_t bound = gl_frame(first)->texture;
    auto second = TImage::load(Ref<TObject>(solid_rgb(4, 4, 0xFF000000)), 0, 0, 0, 0);
    second->frame(0);
    // The drawing context's binding is untouched, as its cache says.
    GLint now = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &now);
    EXPECT_EQ(static_cast<uint32_t>(now), bound);
    EXPECT_EQ(gl_render_driver()->cached_texture(), bound);
    EXPECT_NE(gl_frame(second)->texture, bound);
    EXPECT_FALSE(gl_graphics_driver()->shared_context_current());
}

Ref<TImage> game_picture(const char* name, int mask_r, int mask_g, int mask_b)
{
    set_mask_colour(mask_r, mask_g, mask_b);
    return load_image(Text::from_bytes(std::string(VANTREL_ASSET_DIR "/") + name), 3);
}

TEST_F(Images, GamePicturesBecomeFullSizeTextures)
{
    auto spark = game_picture("spark.png", 0, 0, 0);
    auto wing = game_picture("wing2.png", 255, 0, 255);
    set_auto_centre_handle(1);
    auto island = game_picture("island.png", 255, 255, 255);
    ASSERT_TRUE(spark && wing && island);
    EXPECT_EQ(island->handle_x, 256.0f);
    EXPECT_EQ(island->handle_y, 256.0f);
    EXPECT_EQ(image_height(island), 512);
    const std::pair<Ref<TImage>, int> cases[] = {{spark, 256}, {wing, 256}, {island, 512}};
    for (const auto& [image, size] : cases) {
        auto f = gl_frame(image);
        EXPECT_EQ(f->u_right, 1.0f);
        EXPECT_EQ(f->v_bottom, 1.0f);
        GLint w = 0;
        gl_render_driver()->enable_texture(f->texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        EXPECT_EQ(w, size);
        EXPECT_EQ(tex_param(f->texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    }
}

TEST_F(Images, IslandDrawnInMaskModeShowsOnlyItsLand)
{
    auto island = game_picture("island.png", 255, 255, 255);
    ASSERT_TRUE(island);
    set_clear_colour(0, 128, 255);
    clear_screen();
    set_blend_mode(BLEND_MASK);
    draw_image(island, 0, 0, 0); // 1:1 on whole pixels: every texel sampled at its centre
    auto p = island->pixmaps[0];
    auto screen = current_renderer()->read_back_pixmap(0, 0, 512, 480);
    int transparent = 0, mismatches = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 512; ++x) {
            const uint32_t t = p->get_pixel(x, y);
            const uint32_t want = (t >> 24) == 0 ? 0xFF0080FFu : (t | 0xFF000000u);
            transparent += (t >> 24) == 0;
            mismatches += screen->get_pixel(x, y) != want;
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(transparent, 512 * 480 / 3); // the white sea is masked
}

TEST(ImageGenerations, SecondOpenGraphicsRemakesTexturesAndDeletesTheOld)
{
    start_engine();
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    auto image = TImage::load(Ref<TObject>(solid_rgb(8, 8, 0xFF00FF00)), 0, 0, 0, 0);
    set_blend_mode(BLEND_SOLID);
    draw_image(image, 0, 0, 0);
    const uint32_t first = gl_frame(image)->texture;
    const int32_t first_seq = graphics_seq();
    EXPECT_TRUE(glIsTexture(first));

    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    EXPECT_NE(graphics_seq(), first_seq);
    set_blend_mode(BLEND_SOLID);
    spy_start();
    draw_image(image, 0, 0, 0);
    spy_stop();
    EXPECT_EQ(spy_count("glGenTextures"), 1);
    EXPECT_EQ(spy_count("glDeleteTextures", first), 1);
    EXPECT_EQ(image->generations[0], graphics_seq());
    EXPECT_EQ(pixel(4, 4), (RGB{0, 255, 0}));
    const uint32_t second = gl_frame(image)->texture;
    if (second != first) {
        EXPECT_FALSE(glIsTexture(first));
    }
    close_opened_graphics();
}

} // namespace
} // namespace vantrel::test
