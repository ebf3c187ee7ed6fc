// In a process of its own: the first window's context is the only one of its
// group until that window closes, so the first frame waits for no second
// context. Textures are made in it meanwhile, leaving the renderer's idea of
// the bound texture true, and they outlive the window.
#include "assets/pixmap.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gles2/gles2_render_driver.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "support/gfx_fixture.h"

namespace vantrel::test {
namespace {

const RGB RED{255, 0, 0}, GREEN{0, 255, 0};

Ref<TImage> solid_image(uint32_t argb)
{
    auto p = new_pixmap(4, 4, FORMAT_RGB24, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            p->put_pixel(x, y, argb);
    return TImage::load(Ref<TObject>(p), 0, 0, 0, 0);
}

TEST(FirstContext, TexturesAreMadeInTheOnlyWindowUntilItClosesAndOutliveIt)
{
    start_engine();
    const Ref<GLGraphicsDriver> driver =
        renderer_under_test() == "gles2" ? gles2_graphics_driver() : gl_graphics_driver();
    ASSERT_TRUE(open_graphics(64, 64, 0, 60, 0)) << last_graphics_error().to_bytes();
    EXPECT_FALSE(driver->shared_record());

    set_blend_mode(BLEND_SOLID);
    const Ref<TImage> red = solid_image(0xFFFF0000);
    draw_image(red, 0, 0, 0);
    const Ref<TImage> green = solid_image(0xFF00FF00);
    green->frame(0); // made while red's texture is the one bound
    draw_image(red, 8, 0, 0);
    draw_image(green, 16, 0, 0);
    EXPECT_EQ(pixel(1, 1), RED);
    EXPECT_EQ(pixel(9, 1), RED);
    EXPECT_EQ(pixel(17, 1), GREEN);
    EXPECT_FALSE(driver->shared_record());

    close_opened_graphics();
    ASSERT_TRUE(driver->shared_record());
    const Ref<GLContextRecord> shared = driver->shared_record();
    ASSERT_TRUE(open_graphics(64, 64, 0, 60, 0));
    // The new generation makes the textures again and lets the old ones go,
    // deleted in the shared context that kept them.
    set_blend_mode(BLEND_SOLID);
    draw_image(green, 0, 0, 0);
    draw_image(red, 8, 0, 0);
    EXPECT_EQ(pixel(1, 1), GREEN);
    EXPECT_EQ(pixel(9, 1), RED);
    close_opened_graphics();
    EXPECT_TRUE(same_object(driver->shared_record(), shared));
}

} // namespace
} // namespace vantrel::test
