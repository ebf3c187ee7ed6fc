// GLGraphicsDriver with real windows and contexts (Xvfb and llvmpipe when
// there is no display): window geometry, texture sharing through the hidden
// context and past the last window, swap-interval bookkeeping, closing, the close request and the
// frame schedule of a real window under an injected clock.
#include "gfx/gl/gl_backend.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "input/polled_input.h"
#include "input/system_driver.h"
#include "platform/event_injection.h"
#include "platform/manual_clock.h"
#include "x11_close_request.h"
#include "x11_window_icon.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace vantrel;

namespace {

std::array<uint8_t, 3> back_pixel(int32_t x, int32_t y_from_top)
{
    std::array<uint8_t, 4> rgba{};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, screen_height() - 1 - y_from_top, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2]};
}

void use_pixel_projection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, screen_width(), screen_height(), 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

class GLDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        gl_backend_init();
        graphics_init();
        system_driver_init();
        select_display_driver(gl_graphics_driver(), GFX_BACK_BUFFER);
        set_app_title(u"Vantrel driver test");
        graphics = ref_cast<TGLGraphicsContext>(open_graphics(640, 480, 0, 60, 0));
        ASSERT_TRUE(graphics) << last_graphics_error().to_bytes();
        driver = gl_graphics_driver();
        pump_messages(); // the window system's greetings to a new window
    }
    void TearDown() override { close_opened_graphics(); }

    Ref<TGLGraphicsContext> graphics;
    Ref<GLGraphicsDriver> driver;
};

TEST_F(GLDriver, WindowHasTheRequestedClientAreaAtThirtyTwoThirtyTwo)
{
    const Ref<platform::GLWindow> window = graphics->record()->window;
    int32_t x = 0, y = 0, w = 0, h = 0;
    window->client_origin(x, y);
    window->client_size(w, h);
    EXPECT_EQ(x, 32);
    EXPECT_EQ(y, 32);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_FALSE(window->resizable());
    EXPECT_TRUE(window->visible());
    EXPECT_EQ(window->caption(), "Vantrel driver test");
    EXPECT_EQ(graphics->record()->mode, GL_CONTEXT_WINDOWED);
    EXPECT_EQ(screen_flags(), GFX_BACK_BUFFER);
    EXPECT_TRUE(same_object(driver->current_record(), graphics->record()));
    EXPECT_TRUE(window->is_current());
}

TEST_F(GLDriver, ContextHasTheFixedFunctionPipeline)
{
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const bool old_version = version < "3.2";
    EXPECT_TRUE(old_version || version.find("Compatibility") != std::string::npos) << version;
    GLint double_buffered = 0;
    glGetIntegerv(GL_DOUBLEBUFFER, &double_buffered);
    EXPECT_EQ(double_buffered, GL_TRUE);

    glClearColor(0, 128 / 255.0f, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    use_pixel_projection();
    glColor3ub(200, 10, 20);
    glBegin(GL_QUADS);
    glVertex2f(10, 10);
    glVertex2f(20, 10);
    glVertex2f(20, 20);
    glVertex2f(10, 20);
    glEnd();
    EXPECT_EQ(back_pixel(15, 15), (std::array<uint8_t, 3>{200, 10, 20}));
    EXPECT_EQ(back_pixel(20, 15), (std::array<uint8_t, 3>{0, 128, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLDriver, TexturesMadeInTheSharedContextDrawInTheWindow)
{
    driver->switch_shared_context();
    ASSERT_TRUE(driver->shared_context_current());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::array<uint8_t, 16> green{0, 255, 0, 255, 0, 255, 0, 255,
                                        0, 255, 0, 255, 0, 255, 0, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, green.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glFinish();
    driver->switch_shared_context();
    ASSERT_FALSE(driver->shared_context_current());
    ASSERT_TRUE(graphics->record()->window->is_current());

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    use_pixel_projection();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor3ub(255, 255, 255);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex2f(0, 0);
    glTexCoord2f(1, 0), glVertex2f(8, 0);
    glTexCoord2f(1, 1), glVertex2f(8, 8);
    glTexCoord2f(0, 1), glVertex2f(0, 8);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(back_pixel(4, 4), (std::array<uint8_t, 3>{0, 255, 0}));

    // Deleting also happens in the shared context, and leaves ours current.
    driver->switch_shared_context();
    glDeleteTextures(1, &texture);
    driver->switch_shared_context();
    EXPECT_EQ(glIsTexture(texture), GL_FALSE);
    EXPECT_TRUE(graphics->record()->window->is_current());
}

TEST_F(GLDriver, SwapIntervalIsSetOnlyWhenSyncChanges)
{
    const int32_t before = driver->swap_interval_sets();
    driver->flip(0);
    driver->flip(0);
    const int32_t after_zero = driver->swap_interval_sets();
    EXPECT_EQ(driver->swap_interval(), 0);
    EXPECT_LE(after_zero - before, 1); // once, or not at all when it was 0 already
    driver->flip(1);
    driver->flip(3);
    EXPECT_EQ(driver->swap_interval(), 1);
    EXPECT_EQ(driver->swap_interval_sets(), after_zero + 1);
    driver->flip(0);
    EXPECT_EQ(driver->swap_interval_sets(), after_zero + 2);
}

TEST_F(GLDriver, FlipWithoutACurrentContextDoesNothing)
{
    driver->flip(1); // interval 1
    bind_graphics(nullptr);
    EXPECT_FALSE(driver->current_record());
    const int32_t sets = driver->swap_interval_sets();
    driver->flip(0);
    EXPECT_EQ(driver->swap_interval_sets(), sets);
    EXPECT_EQ(driver->swap_interval(), 1);
}

TEST_F(GLDriver, ClosingTheCurrentContextLeavesNoneAndASecondCloseIsHarmless)
{
    const Ref<GLContextRecord> record = graphics->record();
    const Ref<platform::GLWindow> window = record->window;
    graphics->close();
    EXPECT_FALSE(driver->current_record());
    EXPECT_TRUE(window->closed());
    EXPECT_TRUE(driver->records().empty());
    EXPECT_FALSE(graphics->record());
    graphics->close();
    driver->close_record(record); // no longer in the list: ignored
    EXPECT_TRUE(driver->shared_record());
}

TEST_F(GLDriver, ASecondOpenReplacesTheWindowAndKeepsItsTextures)
{
    const Ref<platform::GLWindow> first = graphics->record()->window;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::array<uint8_t, 4> texel{1, 2, 3, 4};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    const Ref<TGLGraphicsContext> second = ref_cast<TGLGraphicsContext>(open_graphics(320, 200, 0, 60, 0));
    ASSERT_TRUE(second);
    EXPECT_TRUE(first->closed());
    EXPECT_EQ(driver->records().size(), 1u);
    // Made, at the latest, before the last window of the group closed.
    const Ref<GLContextRecord> shared = driver->shared_record();
    ASSERT_TRUE(shared);
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);
    EXPECT_EQ(screen_width(), 320);
    ASSERT_TRUE(open_graphics(64, 64, 0, 60, 0));
    EXPECT_TRUE(same_object(driver->shared_record(), shared));
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);
    glDeleteTextures(1, &texture);
}

TEST_F(GLDriver, PixelFormatFlagsAskForTheirBuffers)
{
    ASSERT_TRUE(open_graphics(64, 64, 0, 60, GFX_DEPTH_BUFFER | GFX_STENCIL_BUFFER | GFX_ALPHA_BUFFER));
    GLint depth = 0, stencil = 0, alpha = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    EXPECT_GE(depth, 1);
    EXPECT_GE(stencil, 1);
    EXPECT_GE(alpha, 1);
    EXPECT_EQ(screen_flags(), GFX_BACK_BUFFER | GFX_DEPTH_BUFFER | GFX_STENCIL_BUFFER | GFX_ALPHA_BUFFER);
}

TEST_F(GLDriver, FullScreenIsRefusedWithTheDisplayModeMessage)
{
    EXPECT_FALSE(open_graphics(640, 480, 32, 60, 0));
    EXPECT_EQ(last_graphics_error(), Text(u"GLGraphicsDriver failed to set display mode"));
    EXPECT_TRUE(driver->records().empty());
}

TEST_F(GLDriver, ModeListKeepsDeepModesOnly)
{
    for (const Ref<TGraphicsMode>& mode : driver->list_modes()) {
        EXPECT_GT(mode->depth, 15);
        EXPECT_GT(mode->width, 0);
    }
}

// Waits for a condition the window system delivers asynchronously.
template <class F>
bool eventually(F condition)
{
    for (int i = 0; i < 200; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST_F(GLDriver, WindowManagerCloseRequestIsReportedAndTheWindowStays)
{
    const Ref<platform::GLWindow> window = graphics->record()->window;
    ASSERT_NE(window->native_handle(), 0u);
    ASSERT_TRUE(vantrel::testing::send_close_request(window->native_handle()));
    EXPECT_TRUE(eventually([] { return app_terminate_requested() == 1; }));
    EXPECT_EQ(app_terminate_requested(), 0);
    EXPECT_FALSE(window->closed());
    EXPECT_TRUE(window->visible());
}

TEST_F(GLDriver, HeldButtonCapturesThePointerInAWindow)
{
    const uint32_t id = graphics->record()->window->id();
    ASSERT_TRUE(platform::inject_button(id, 1, true, 100, 100));
    EXPECT_EQ(button_held(1), 1);
    EXPECT_TRUE(graphics->record()->window->pointer_captured());
    ASSERT_TRUE(platform::inject_button(id, 1, false, 900, 700));
    EXPECT_EQ(button_held(1), 0);
    EXPECT_FALSE(graphics->record()->window->pointer_captured());
}

TEST_F(GLDriver, OnlyLeftRightAndMiddleButtonsCapture)
{
    const Ref<platform::GLWindow> window = graphics->record()->window;
    const uint32_t id = window->id();
    for (int32_t side_button : {4, 5}) {
        ASSERT_TRUE(platform::inject_button(id, side_button, true, 100, 100));
        pump_messages();
        EXPECT_FALSE(window->pointer_captured()) << "button " << side_button;
        ASSERT_TRUE(platform::inject_button(id, side_button, false, 100, 100));
        pump_messages();
    }
    for (int32_t button : {2, 3}) {
        ASSERT_TRUE(platform::inject_button(id, button, true, 100, 100));
        pump_messages();
        EXPECT_TRUE(window->pointer_captured()) << "button " << button;
        ASSERT_TRUE(platform::inject_button(id, button, false, 100, 100));
        pump_messages();
        EXPECT_FALSE(window->pointer_captured());
    }
}

TEST_F(GLDriver, RealWindowFramesFollowTheScheduleOfTheInjectedClock)
{
    platform::ManualClock clock(7000);
    platform::ScopedClock installed(clock);
    ASSERT_TRUE(open_graphics(640, 480, 0, 60, 0));
    for (int i = 0; i < 3; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        flip_frame(-1);
    }
    EXPECT_EQ(clock.sleeps, (std::vector<int32_t>{16, 17, 17}));
    EXPECT_EQ(driver->swap_interval(), 0);
}

TEST_F(GLDriver, WindowsCarryTheAppIconInArgbAndNoneWithoutOne)
{
    EXPECT_TRUE(vantrel::testing::window_icon_property(graphics->record()->window->native_handle()).empty())
        << "no icon was set";
    // A 2 x 1 RGB picture: the window receives it converted, fully opaque.
    const Ref<TPixmap> icon = new_pixmap(2, 1, FORMAT_RGB24, 1);
    const uint8_t rgb[6] = {10, 20, 30, 200, 100, 50};
    std::memcpy(icon->pixels, rgb, sizeof rgb);
    set_app_icon(icon);
    const Ref<TGLGraphicsContext> with_icon = ref_cast<TGLGraphicsContext>(open_graphics(640, 480, 0, 60, 0));
    set_app_icon(nullptr);
    ASSERT_TRUE(with_icon);
    EXPECT_EQ(vantrel::testing::window_icon_property(with_icon->record()->window->native_handle()),
              (std::vector<uint32_t>{2, 1, 0xFF0A141Eu, 0xFFC86432u}));
}

} // namespace
