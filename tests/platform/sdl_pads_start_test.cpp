// In a process of its own: the pump leaves the pads' subsystem, whose device
// scan takes milliseconds, until a frame has been shown since its first
// poll, so a program's first frame does not wait for it.
#include "platform/message_pump.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::platform;

namespace {

void drain()
{
    OSMessage m;
    while (sdl_message_pump().poll(m)) {
    }
}

bool pads_started() { return SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0; }

TEST(SdlPadsStart, PadsStartAtTheFirstPollAfterAFrameIsShown)
{
    sdl_platform_init();
    WindowSpec spec;
    spec.caption = "pads start test";
    spec.width = 64;
    spec.height = 48;
    spec.format.double_buffer = true;
    const Ref<GLWindow> window = create_gl_window(spec, nullptr);
    ASSERT_TRUE(window) << last_error().to_bytes();
    window->swap_buffers(); // before the first poll: the window's own clear
    window->show();
    drain();
    EXPECT_FALSE(pads_started());
    window->swap_buffers();
    EXPECT_FALSE(pads_started());
    drain(); // the second drain: too soon for the fallback of a program without frames
    EXPECT_TRUE(pads_started());
}

} // namespace
