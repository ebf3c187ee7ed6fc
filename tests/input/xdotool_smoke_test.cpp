// Smoke test with real key and button presses: xdotool types into the game's
// window on the X server the tests run on (Xvfb), and the polled input must
// see them. Skipped without a display or without xdotool.
#include "gfx/gl/gl_backend.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "input/system_driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

using namespace vantrel;

namespace {

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

template <class F>
bool eventually(F condition)
{
    for (int i = 0; i < 300; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

class XdotoolSmoke : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
        if (!run("command -v xdotool"))
            GTEST_SKIP() << "xdotool is not installed";
        gl_backend_init();
        graphics_init();
        system_driver_init();
        select_display_driver(gl_graphics_driver(), GFX_BACK_BUFFER);
        set_app_title(u"Vantrel smoke");
        graphics = ref_cast<TGLGraphicsContext>(open_graphics(640, 480, 0, 60, 0));
        ASSERT_TRUE(graphics) << last_graphics_error().to_bytes();
        wid = std::to_string(graphics->record()->window->native_handle());
        ASSERT_TRUE(run("xdotool windowfocus --sync " + wid));
        for (int i = 0; i < 10; ++i) { // let the focus notices arrive and go
            pump_messages();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        clear_key_state();
    }
    void TearDown() override { close_opened_graphics(); }

    Ref<TGLGraphicsContext> graphics;
    std::string wid;
};

TEST_F(XdotoolSmoke, RealKeyPressesReachThePolledInput)
{
    ASSERT_TRUE(run("xdotool keydown --window " + wid + " z"));
    EXPECT_TRUE(eventually([] { return key_held('Z') == 1; }));
    ASSERT_TRUE(run("xdotool keyup --window " + wid + " z"));
    EXPECT_TRUE(eventually([] { return key_held('Z') == 0; }));
    EXPECT_EQ(take_key_hits('Z'), 1);

    ASSERT_TRUE(run("xdotool key --window " + wid + " Escape Escape"));
    int32_t hits = 0;
    EXPECT_TRUE(eventually([&] { hits += take_key_hits(KEY_ESCAPE); return hits == 2; }));

    ASSERT_TRUE(run("xdotool keydown Shift_L"));
    EXPECT_TRUE(eventually([] { return key_held(KEY_LSHIFT) == 1; }));
    ASSERT_TRUE(run("xdotool keyup Shift_L"));
    EXPECT_TRUE(eventually([] { return key_held(KEY_LSHIFT) == 0; }));
    EXPECT_EQ(key_held(16), 0);
}

TEST_F(XdotoolSmoke, AReleaseOutsideTheWindowIsStillReported)
{
    // The client area starts at 32, 32 on the screen.
    ASSERT_TRUE(run("xdotool mousemove 100 100"));
    EXPECT_TRUE(eventually([] { return pointer_x() == 68; }));
    ASSERT_TRUE(run("xdotool mousedown 1"));
    EXPECT_TRUE(eventually([] { return button_held(1) == 1; }));
    ASSERT_TRUE(run("xdotool mousemove 900 700"));
    EXPECT_TRUE(eventually([] { return pointer_x() == 868; }));
    ASSERT_TRUE(run("xdotool mouseup 1"));
    EXPECT_TRUE(eventually([] { return button_held(1) == 0; }));
    EXPECT_EQ(button_hits(1), 1);
}

} // namespace
