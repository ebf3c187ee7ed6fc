// Resetting the graphics layer's record on the null backend: the window
// closes, every setting is back as at program load, the graphics generation
// still moves forward, and start-up works again.
#include "gfx/draw.h"
#include "gfx/gfx_state.h"
#include "gfx/image.h"
#include "gfx/null/null_backend.h"
#include "gfx/render_image.h"
#include "input/events.h"
#include "input/input_state.h"
#include "input/system_driver.h"
#include "support/null_fixture.h"

#include <gtest/gtest.h>

namespace vantrel::test {
namespace {

void start_again()
{
    null_backend_init();
    events_init();
    system_driver_init();
    graphics2d_init();
}

TEST(GfxStateReset, ClosesTheWindowAndForgetsSettingsButNotTheGeneration)
{
    start_null_engine();
    ASSERT_TRUE(open_graphics(64, 48, 0, 60, 0));
    set_colour(10, 20, 30);
    set_mask_colour(1, 2, 3);
    set_auto_centre_handle(1);
    set_app_title(Text(u"before"));
    const Ref<TImage> image = create_render_image(8, 8);
    ASSERT_TRUE(image);
    set_render_target(image);
    const int32_t seq = graphics_seq();

    gfx_state().reset();
    input_state().reset();

    EXPECT_FALSE(opened_graphics());
    EXPECT_FALSE(current_graphics());
    EXPECT_FALSE(current_display_driver());
    EXPECT_FALSE(current_graphics2d());
    EXPECT_EQ(flip_hook_id(), -1);
    EXPECT_EQ(screen_width(), 0);
    int32_t r = -1, g = -1, b = -1;
    get_mask_colour(r, g, b);
    EXPECT_EQ(r + g + b, 0);
    EXPECT_EQ(get_auto_centre_handle(), 0);
    EXPECT_TRUE(app_title().empty());
    EXPECT_FALSE(render_target());
    EXPECT_FALSE(null_render_driver()->render_frame()) << "the renderer went back to the window";
    // Textures made for the old window must never match a later one.
    EXPECT_NE(graphics_seq(), seq);
    EXPECT_NE(graphics_seq(), 1);

    start_again();
    ASSERT_TRUE(open_graphics(64, 48, 0, 60, 0)) << last_graphics_error().to_bytes();
    EXPECT_EQ(screen_width(), 64);
    EXPECT_GE(flip_hook_id(), 0);
    int32_t red = -1, green = -1, blue = -1;
    get_colour(red, green, blue);
    EXPECT_EQ(red, 255); // a fresh drawing state, not the one set before
    EXPECT_EQ(shapes_of([] { draw_rect(1, 2, 3, 4); }).size(), 1u);
    close_opened_graphics();
}

} // namespace
} // namespace vantrel::test
