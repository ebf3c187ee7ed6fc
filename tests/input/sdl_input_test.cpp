// Polled input through the real SDL pump: synthesised SDL events for the
// graphics window travel SDL's queue, the display driver's window procedure
// and the system driver into the polled state.
#include "gfx/gl/gl_backend.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "input/system_driver.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace vantrel;
using namespace vantrel::platform;

namespace {

class SdlInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        gl_backend_init();
        graphics_init();
        system_driver_init();
        select_display_driver(gl_graphics_driver(), GFX_BACK_BUFFER);
        graphics = ref_cast<TGLGraphicsContext>(open_graphics(160, 120, 0, 60, 0));
        ASSERT_TRUE(graphics) << last_graphics_error().to_bytes();
        window = graphics->record()->window->id();
        // The window system's own focus and map notices come first.
        for (int i = 0; i < 20; ++i) {
            pump_messages();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        clear_key_state();
        app_terminate_requested();
    }
    void TearDown() override { close_opened_graphics(); }

    void tap(int32_t scancode)
    {
        inject_key(window, scancode, true);
        inject_key(window, scancode, false);
    }

    Ref<TGLGraphicsContext> graphics;
    uint32_t window = 0;
};

TEST_F(SdlInput, TwoEscapeTapsAreTwoHitsOnce)
{
    tap(SCANCODE_ESCAPE);
    tap(SCANCODE_ESCAPE);
    EXPECT_EQ(take_key_hits(KEY_ESCAPE), 2);
    EXPECT_EQ(take_key_hits(KEY_ESCAPE), 0);
}

TEST_F(SdlInput, AutoRepeatIsOneHit)
{
    inject_key(window, SCANCODE_Z, true);
    for (int i = 0; i < 4; ++i)
        inject_key(window, SCANCODE_Z, true, true);
    EXPECT_EQ(key_held('Z'), 1);
    EXPECT_EQ(take_key_hits('Z'), 1);
    inject_key(window, SCANCODE_Z, false);
    EXPECT_EQ(key_held('Z'), 0);
}

TEST_F(SdlInput, FocusLossReleasesHeldKeys)
{
    inject_key(window, SCANCODE_Z, true);
    EXPECT_EQ(key_held('Z'), 1);
    inject_window_notice(window, WindowNotice::FocusLost);
    EXPECT_EQ(key_held('Z'), 0);
    EXPECT_EQ(take_key_hits('Z'), 0);
    EXPECT_EQ(app_suspended(), 1);
    inject_window_notice(window, WindowNotice::FocusGained);
    EXPECT_EQ(app_suspended(), 0);
}

TEST_F(SdlInput, TwoCloseRequestsAreReadOnceAndTheWindowStays)
{
    inject_window_notice(window, WindowNotice::Close);
    inject_window_notice(window, WindowNotice::Close);
    EXPECT_EQ(app_terminate_requested(), 1);
    EXPECT_EQ(app_terminate_requested(), 0);
    EXPECT_FALSE(graphics->record()->window->closed());
}

TEST_F(SdlInput, LeftShiftIsKey160)
{
    inject_key(window, SCANCODE_LSHIFT, true, false, MOD_SHIFT);
    EXPECT_EQ(key_held(KEY_LSHIFT), 1);
    EXPECT_EQ(key_held(16), 0);
    EXPECT_EQ(current_modifiers(), MODIFIER_SHIFT);
    inject_key(window, SCANCODE_LSHIFT, false, false, 0);
    EXPECT_EQ(key_held(KEY_LSHIFT), 0);
    EXPECT_EQ(current_modifiers(), 0);
}

TEST_F(SdlInput, FlightKeysAllArrive)
{
    const int32_t scancodes[] = {SCANCODE_Z, SCANCODE_M, SCANCODE_A, SCANCODE_SPACE,
                                 SCANCODE_LEFT, SCANCODE_RIGHT, SCANCODE_UP, SCANCODE_DOWN};
    const int32_t codes[] = {'Z', 'M', 'A', KEY_SPACE, KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN};
    for (int32_t s : scancodes)
        inject_key(window, s, true);
    for (int32_t c : codes)
        EXPECT_EQ(key_held(c), 1) << c;
}

TEST_F(SdlInput, TypedTextAndWheelAndPointer)
{
    inject_text(window, "hi");
    inject_wheel(window, 0.5f);
    inject_wheel(window, -2.0f);
    inject_motion(window, 40, 30);
    EXPECT_EQ(next_typed_char(), 'h');
    EXPECT_EQ(next_typed_char(), 'i');
    EXPECT_EQ(wheel_pos(), -2);
    EXPECT_EQ(pointer_x(), 40);
    EXPECT_EQ(pointer_y(), 30);
}

TEST_F(SdlInput, EventsOfOtherWindowsAreNotOurs)
{
    inject_key(window + 1000, SCANCODE_Z, true);
    EXPECT_EQ(key_held('Z'), 0);
}

TEST_F(SdlInput, ClosingTheGraphicsTurnsPollingOff)
{
    inject_key(window, SCANCODE_Z, true);
    EXPECT_EQ(key_held('Z'), 1);
    close_opened_graphics();
    EXPECT_FALSE(input_polling_enabled());
    EXPECT_EQ(key_held('Z'), 0);
}

} // namespace
