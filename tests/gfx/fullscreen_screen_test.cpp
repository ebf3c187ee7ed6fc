// Full-screen on a 1920 x 1080 screen, whose only display mode is its own
// size: the mode list before and after a window exists, full-screen records
// (a mode that cannot be set, one that can, the rate test that decides the
// frame pacing, focus loss and gain), drawing into a window made elsewhere,
// and a 640 x 480 frame scaled to the whole screen between black bars.
#include "assets/pixmap.h"
#include "assets/stream.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_scaled_frame.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"
#include "input/events.h"
#include "input/system_driver.h"
#include "platform/event_injection.h"
#include "platform/manual_clock.h"
#include "support/x11_screen.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vantrel {
namespace {

using test::ScreenImage;
using test::ScreenRGB;

// Every reading moves time on by a fixed step, so each flip of the rate
// test seems to take exactly that long.
class StepClock final : public platform::ClockSource {
public:
    explicit StepClock(uint32_t step) : step_(step) {}
    uint32_t now_ms() override { return now_ += step_; }
    void sleep_ms(int32_t ms) override { now_ += static_cast<uint32_t>(ms > 0 ? ms : 0); }
    uint32_t now() const { return now_; }

private:
    uint32_t step_;
    uint32_t now_ = 50000;
};

class FullScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        streams_init();
        events_init();
        system_driver_init();
        gl_backend_init();
        graphics2d_init();
        set_app_title(u"Vantrel full-screen test");
    }
    void TearDown() override
    {
        close_opened_graphics();
        set_presentation({});
    }
    static Ref<GLContextRecord> opened_record()
    {
        auto g = ref_cast<TGraphics2D>(opened_graphics());
        return g ? ref_cast<TGLGraphicsContext>(g->backend)->record() : nullptr;
    }
};

TEST(FrameFit, KeepsTheAspectAndCentres)
{
    const FrameFit wide = fit_frame(640, 480, 1920, 1080);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.y, 0);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.height, 1080);
    EXPECT_FALSE(wide.whole);
    const FrameFit tall = fit_frame(640, 480, 1280, 1024);
    EXPECT_EQ(tall.x, 0);
    EXPECT_EQ(tall.y, 32);
    EXPECT_EQ(tall.width, 1280);
    EXPECT_TRUE(tall.whole);
    EXPECT_TRUE(fit_frame(640, 480, 640, 480).whole);
    EXPECT_FALSE(fit_frame(640, 480, 800, 600).whole);
    EXPECT_EQ(fit_frame(640, 480, 0, 600).width, 0);
}

// First, in a process that has opened nothing: the list is there before any
// window, and it stays the same once one exists.
TEST_F(FullScreen, ModeListBeforeAndAfterAWindow)
{
    ASSERT_FALSE(opened_graphics());
    const TGraphicsModeArray before = list_graphics_modes();
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before[0]->width, 1920);
    EXPECT_EQ(before[0]->height, 1080);
    EXPECT_GT(before[0]->depth, 15);
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    const TGraphicsModeArray& after = list_graphics_modes();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0]->width, 1920);
    EXPECT_EQ(gl_graphics_driver()->list_modes().size(), 1u);
}

TEST_F(FullScreen, ModeTheDisplayLacksGivesNoGraphics)
{
    EXPECT_FALSE(open_graphics(640, 480, 32, 60, 0));
    EXPECT_EQ(last_graphics_error(), Text(u"GLGraphicsDriver failed to set display mode"));
    EXPECT_TRUE(gl_graphics_driver()->records().empty());
    EXPECT_FALSE(gl_graphics_driver()->display_mode_owner());
}

TEST_F(FullScreen, ScreenSizedModeCoversTheScreenAndTheRateTestDecidesThePacing)
{
    StepClock clock(16); // every flip seems to take 16 ms, as a 60 Hz retrace would
    platform::ScopedClock scoped(clock);
    ASSERT_TRUE(open_graphics(1920, 1080, 32, 60, 0)) << last_graphics_error().to_bytes();
    const Ref<GLContextRecord> record = opened_record();
    EXPECT_EQ(record->mode, GL_CONTEXT_FULLSCREEN);
    int32_t x = -1, y = -1, w = 0, h = 0;
    record->window->client_origin(x, y);
    record->window->client_size(w, h);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    EXPECT_TRUE(record->window->fullscreen());
    EXPECT_TRUE(same_object(gl_graphics_driver()->display_mode_owner(), record));
    EXPECT_EQ(screen_depth(), 32);
    // Three 16 ms flips in a row at 60 Hz: the hardware keeps the rate.
    EXPECT_EQ(frame_pacing().soft_sync, 0);
    EXPECT_EQ(gl_graphics_driver()->swap_interval(), 1); // the test flipped with sync

    // At 50 Hz the same flips are 4 ms early: a second of trying, then software pacing.
    const uint32_t start = clock.now();
    ASSERT_TRUE(open_graphics(1920, 1080, 32, 50, 0));
    EXPECT_EQ(frame_pacing().soft_sync, 1);
    EXPECT_GE(clock.now() - start, 1000u);
    EXPECT_EQ(frame_pacing().ms_per_frame, 20);
    // The display offers no 50 Hz mode (nor 60): the mode was had at any
    // rate, so no vertical retrace sync on its own account.
    close_opened_graphics();
    EXPECT_FALSE(gl_graphics_driver()->display_mode_owner());
}

TEST_F(FullScreen, FocusLossGivesTheModeBackAndGainTakesItAgain)
{
    ASSERT_TRUE(open_graphics(1920, 1080, 24, 0, 0));
    const Ref<GLContextRecord> record = opened_record();
    ASSERT_TRUE(same_object(gl_graphics_driver()->display_mode_owner(), record));
    EXPECT_EQ(gl_graphics_driver()->swap_interval(), 0); // no rate asked, none honoured
    flip_frame(1);
    EXPECT_EQ(gl_graphics_driver()->swap_interval(), 1);

    ASSERT_TRUE(platform::inject_window_notice(record->window->id(),
                                               platform::WindowNotice::FocusLost));
    pump_messages();
    EXPECT_FALSE(gl_graphics_driver()->display_mode_owner());
    EXPECT_FALSE(record->window->fullscreen());
    EXPECT_EQ(gl_graphics_driver()->swap_interval(), 0);

    ASSERT_TRUE(platform::inject_window_notice(record->window->id(),
                                               platform::WindowNotice::FocusGained));
    pump_messages();
    EXPECT_TRUE(same_object(gl_graphics_driver()->display_mode_owner(), record));
    EXPECT_TRUE(record->window->fullscreen());
    // Another record's focus changes nothing while this one owns the mode.
    close_opened_graphics();
    EXPECT_FALSE(gl_graphics_driver()->display_mode_owner());
}

TEST_F(FullScreen, WrapsAWindowItNeitherShowsNorDestroys)
{
    const uint64_t native = test::make_test_window(300, 200, false);
    ASSERT_NE(native, 0u);
    Ref<TGraphics> g =
        gl_graphics_driver()->wrap_window(make_ref<platform::NativeWindow>(native), GFX_BACK_BUFFER);
    ASSERT_TRUE(g) << last_graphics_error().to_bytes();
    const Ref<GLContextRecord> record = ref_cast<TGLGraphicsContext>(g)->record();
    EXPECT_EQ(record->mode, GL_CONTEXT_WRAPPED);
    int32_t w = 0, h = 0, depth = -1, hertz = -1, flags = 0;
    g->get_settings(w, h, depth, hertz, flags);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 200);
    EXPECT_EQ(flags, GFX_BACK_BUFFER);
    EXPECT_FALSE(test::window_mapped(native));

    bind_graphics(g);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    uint8_t rgba[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(150, 100, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    EXPECT_EQ(rgba[0], 255);
    EXPECT_EQ(rgba[1], 0);

    dispose_graphics(g);
    EXPECT_TRUE(gl_graphics_driver()->records().empty());
    EXPECT_TRUE(test::window_exists(native));
    test::destroy_test_window(native);
    EXPECT_FALSE(test::window_exists(native));
    // Anything but a native window is refused.
    EXPECT_FALSE(gl_graphics_driver()->wrap_window(make_ref<TObject>(), 0));
    // Binding made the raw driver current; the other tests draw through the renderer.
    select_display_driver(gl_render_driver(), GFX_BACK_BUFFER);
}

// Shows frames until the screen has one (a window is mapped a moment after
// it is shown).
ScreenImage show_until_on_screen(const ScreenRGB& marker)
{
    ScreenImage screen;
    for (int i = 0; i < 50; ++i) {
        set_clear_colour(0, 128, 255);
        clear_screen();
        set_colour(255, 255, 255);
        draw_rect(0, 0, 64, 64);
        flip_frame(0);
        pump_messages();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        screen = test::capture_screen(0, 0, 1920, 1080);
        if (!screen.pixels.empty() && screen.at(960, 540) == marker)
            break;
    }
    return screen;
}

TEST_F(FullScreen, ScaledFrameFillsTheCentreBetweenBlackBars)
{
    set_presentation({.window_scale = 1, .fill_desktop = true});
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    EXPECT_EQ(opened_record()->mode, GL_CONTEXT_WINDOWED);
    const ScreenRGB sky{0, 128, 255}, white{255, 255, 255}, black{0, 0, 0};
    const ScreenImage screen = show_until_on_screen(sky);
    ASSERT_EQ(screen.width, 1920);
    int bars_wrong = 0, sky_wrong = 0;
    for (int32_t y = 0; y < 1080; ++y) {
        for (int32_t x = 0; x < 240; ++x) {
            bars_wrong += screen.at(x, y) == black ? 0 : 1;
            bars_wrong += screen.at(1919 - x, y) == black ? 0 : 1;
        }
        // A uniform colour stays itself under linear filtering.
        for (int32_t x = 240; x < 1680; ++x)
            if (x >= 240 + 146 || y >= 146)
                sky_wrong += screen.at(x, y) == sky ? 0 : 1;
    }
    EXPECT_EQ(bars_wrong, 0);
    EXPECT_EQ(sky_wrong, 0);
    // The 64 x 64 block in the frame's corner is 144 x 144 on screen.
    EXPECT_EQ(screen.at(242, 2), white);
    EXPECT_EQ(screen.at(240 + 141, 141), white);
}

} // namespace
} // namespace vantrel
