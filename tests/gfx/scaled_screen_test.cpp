// Scaled presentation on a 1280 x 960 screen, checked on the screen itself:
// full-screen the 640 x 480 frame is shown exactly twice as large, each
// frame pixel a 2 x 2 block; a 2x window has a 1280 x 960 client area at
// 32,32 showing the same blocks; and the frame read back is the same bytes
// whatever the window shows, as is an offscreen image drawn meanwhile.
#include "assets/pixmap.h"
#include "assets/stream.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"
#include "gfx/render_image.h"
#include "input/events.h"
#include "input/system_driver.h"
#include "support/x11_screen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace vantrel {
namespace {

using test::ScreenImage;
using test::ScreenRGB;

void start_engine()
{
    streams_init();
    events_init();
    system_driver_init();
    gl_backend_init();
    graphics2d_init();
    set_app_title(u"Vantrel scaled test");
}

// A frame with detail down to single pixels: stripes, a diagonal line,
// single points and a scissored block.
void draw_test_frame()
{
    set_clear_colour(0, 128, 255);
    clear_screen();
    set_blend_mode(BLEND_SOLID);
    for (int i = 0; i < 40; ++i) {
        set_colour(i * 6, 255 - i * 6, (i * 37) % 256);
        draw_rect(static_cast<float>(i * 16), 0, 1, 480);
    }
    set_colour(255, 255, 255);
    draw_line(10, 10, 600, 470, 1);
    set_colour(255, 0, 0);
    for (int i = 0; i < 50; ++i)
        plot_point(100.5f + static_cast<float>(i * 7), 300.5f + static_cast<float>(i % 5));
    set_viewport(320, 240, 100, 50);
    set_colour(0, 255, 0);
    draw_rect(300, 200, 300, 200);
    set_viewport(0, 0, 640, 480);
}

ScreenRGB frame_pixel(const Ref<TPixmap>& frame, int32_t x, int32_t y)
{
    const uint8_t* p = frame->pixel_ptr(x, y);
    return {p[0], p[1], p[2]};
}

// Draws, reads the frame back and shows it, again until the screen shows
// it: a window is mapped a moment after it is shown, and a frame swapped
// before that never reaches the screen.
Ref<TPixmap> draw_and_show(int32_t sx, int32_t sy, int32_t sw, int32_t sh, ScreenImage& screen)
{
    Ref<TPixmap> frame;
    for (int i = 0; i < 50; ++i) {
        draw_test_frame();
        frame = current_renderer()->read_back_pixmap(0, 0, 640, 480);
        flip_frame(0);
        pump_messages();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        screen = test::capture_screen(sx, sy, sw, sh);
        if (!screen.pixels.empty() && screen.at(0, 0) == frame_pixel(frame, 0, 0))
            break;
    }
    return frame;
}

// Counts frame pixels whose 2 x 2 block on screen is not exactly that pixel.
int wrong_blocks(const Ref<TPixmap>& frame, const ScreenImage& screen, int32_t columns,
                 int32_t rows)
{
    int wrong = 0;
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x) {
            const ScreenRGB want = frame_pixel(frame, x, y);
            for (int32_t dy = 0; dy < 2; ++dy)
                for (int32_t dx = 0; dx < 2; ++dx)
                    wrong += screen.at(2 * x + dx, 2 * y + dy) == want ? 0 : 1;
        }
    return wrong;
}

class ScaledScreen : public ::testing::Test {
protected:
    void SetUp() override { start_engine(); }
    void TearDown() override
    {
        close_opened_graphics();
        set_presentation({});
    }
};

TEST_F(ScaledScreen, FullScreenShowsEveryFramePixelAsATwoByTwoBlock)
{
    set_presentation({.window_scale = 1, .fill_desktop = true});
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0)) << last_graphics_error().to_bytes();
    EXPECT_EQ(screen_width(), 640); // drawing keeps the frame's coordinates
    EXPECT_TRUE(gl_graphics_driver()->presenting_scaled());
    ScreenImage screen;
    const Ref<TPixmap> frame = draw_and_show(0, 0, 1280, 960, screen);
    ASSERT_EQ(screen.width, 1280);
    EXPECT_EQ(wrong_blocks(frame, screen, 640, 480), 0);
    EXPECT_EQ(frame_pixel(frame, 350, 260), (ScreenRGB{0, 255, 0})); // the scissored block
    EXPECT_EQ(frame_pixel(frame, 304, 200).g, 255 - 19 * 6);           // outside it: a stripe
}

TEST_F(ScaledScreen, DoubledWindowHasItsClientAreaAtThirtyTwoThirtyTwo)
{
    set_presentation({.window_scale = 2, .fill_desktop = false});
    auto g = ref_cast<TGraphics2D>(open_graphics(640, 480, 0, 60, 0));
    ASSERT_TRUE(g);
    const Ref<platform::GLWindow> window = ref_cast<TGLGraphicsContext>(g->backend)->record()->window;
    int32_t x = 0, y = 0, w = 0, h = 0;
    window->client_origin(x, y);
    window->client_size(w, h);
    EXPECT_EQ(x, 32);
    EXPECT_EQ(y, 32);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 960);
    EXPECT_FALSE(window->fullscreen());
    // The screen ends 1248 x 928 pixels into the window: check what shows.
    ScreenImage screen;
    const Ref<TPixmap> frame = draw_and_show(32, 32, 1248, 928, screen);
    ASSERT_EQ(screen.width, 1248);
    EXPECT_EQ(wrong_blocks(frame, screen, 624, 464), 0);
}

TEST_F(ScaledScreen, FrameReadBackIsTheSameScaledOrNot)
{
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    EXPECT_FALSE(gl_graphics_driver()->presenting_scaled());
    draw_test_frame();
    const Ref<TPixmap> plain = current_renderer()->read_back_pixmap(0, 0, 640, 480);
    // Switching keeps the context: the same graphics is now shown scaled.
    for (const TPresentation p : {TPresentation{3, false}, TPresentation{1, true}}) {
        set_presentation(p);
        EXPECT_TRUE(gl_graphics_driver()->presenting_scaled());
        draw_test_frame();
        const Ref<TPixmap> scaled = current_renderer()->read_back_pixmap(0, 0, 640, 480);
        EXPECT_EQ(std::memcmp(plain->pixel_ptr(0, 0), scaled->pixel_ptr(0, 0), 640 * 480 * 4), 0);
        flip_frame(0);
    }
    // And back to the plain window.
    set_presentation({});
    EXPECT_FALSE(gl_graphics_driver()->presenting_scaled());
    int32_t w = 0, h = 0;
    gl_graphics_driver()->current_record()->window->client_size(w, h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
}

// The frame lies in a corner of the scaled window's buffer; an image has
// none of that offset, and the window gets it back afterwards.
TEST_F(ScaledScreen, OffscreenImagesDrawAsInAPlainWindow)
{
    set_presentation({.window_scale = 2, .fill_desktop = false});
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    ASSERT_TRUE(gl_graphics_driver()->presenting_scaled());
    ASSERT_NE(gl_graphics_driver()->frame_base_y(), 0);
    draw_test_frame();
    const Ref<TPixmap> window = current_renderer()->read_back_pixmap(0, 0, 640, 480);
    const Ref<TImage> image = create_render_image(640, 480);
    ASSERT_TRUE(image) << last_graphics_error().to_bytes();
    set_render_target(image);
    EXPECT_EQ(gl_graphics_driver()->frame_base_y(), 0);
    draw_test_frame();
    set_render_target(nullptr);
    const Ref<TPixmap> offscreen = grab_render_image(image);
    EXPECT_EQ(std::memcmp(window->pixel_ptr(0, 0), offscreen->pixel_ptr(0, 0), 640 * 480 * 4), 0);
    set_clear_colour(0, 0, 0);
    clear_screen();
    set_blend_mode(BLEND_SOLID);
    set_colour(255, 255, 255);
    draw_image(image, 0, 0, 0);
    const Ref<TPixmap> shown = current_renderer()->read_back_pixmap(0, 0, 640, 480);
    EXPECT_EQ(std::memcmp(window->pixel_ptr(0, 0), shown->pixel_ptr(0, 0), 640 * 480 * 4), 0);
}

} // namespace
} // namespace vantrel
