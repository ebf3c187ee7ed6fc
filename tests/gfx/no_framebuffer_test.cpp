// Where OpenGL has no framebuffer objects (the test runs with them taken
// out of Mesa's version and extensions): scaled presentation leaves the
// window unscaled, and standard error says so once; an offscreen image is
// refused with the reason.
#include "gfx/gl/gl_backend.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_image.h"
#include "input/events.h"
#include "input/system_driver.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(NoFramebuffers, WindowStaysUnscaledAndSaysSoOnce)
{
    events_init();
    system_driver_init();
    gl_backend_init();
    graphics2d_init();
    testing::internal::CaptureStderr();
    set_presentation({.window_scale = 2, .fill_desktop = false});
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0)) << last_graphics_error().to_bytes();
    set_presentation({.window_scale = 1, .fill_desktop = true});
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "OpenGL offers no framebuffer objects: the frame is shown unscaled\n");
    EXPECT_FALSE(gl_graphics_driver()->presenting_scaled());
    int32_t x = 0, y = 0, w = 0, h = 0;
    const auto window = gl_graphics_driver()->current_record()->window;
    window->client_origin(x, y);
    window->client_size(w, h);
    EXPECT_EQ(x, 32);
    EXPECT_EQ(y, 32);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_FALSE(window->fullscreen());
    close_opened_graphics();
}

TEST(NoFramebuffers, OffscreenImagesAreRefusedWithTheReason)
{
    events_init();
    system_driver_init();
    gl_backend_init();
    graphics2d_init();
    set_presentation({});
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0)) << last_graphics_error().to_bytes();
    EXPECT_FALSE(create_render_image(8, 8));
    EXPECT_EQ(last_graphics_error().to_bytes(),
              "OpenGL offers no framebuffer objects (3.0, ARB_framebuffer_object or "
              "EXT_framebuffer_object): it cannot draw into images");
    EXPECT_FALSE(render_target());
    close_opened_graphics();
}

} // namespace
} // namespace vantrel
