// The renderers on a window system of the test's own: their libraries link
// no window system (this program has no SDL at all), and every window and
// display mode they want comes from the platform backend registered at the
// time, in the context API each renderer draws with.
#include "gfx/gl/gl_drivers.h"
#include "gfx/gles2/gles2_drivers.h"
#include "gfx/graphics.h"
#include "gfx/render_driver.h"
#include "platform/backend.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

using platform::GLApi;
using platform::WindowStyle;

const char16_t REFUSAL[] = u"The test's window system makes no windows";

// What the drivers asked for, and what the window system answers.
std::vector<platform::WindowSpec> asked;

Ref<platform::GLWindow> refuse(const platform::WindowSpec& spec, platform::GLWindow*,
                               platform::ContextCheck)
{
    asked.push_back(spec);
    return nullptr;
}

std::vector<platform::DisplayMode> modes()
{
    return {{1024, 768, 32, 75}, {320, 200, 8, 70}, {800, 600, 24, 60}};
}

Text refusal() { return Text(REFUSAL); }

constexpr platform::WindowSystem refusing_windows{
    .create_gl_window = &refuse,
    .display_modes = &modes,
    .last_error = &refusal,
};

constexpr platform::PlatformBackend refusing_backend{.name = "refusing",
                                                     .windows = &refusing_windows};
constexpr platform::PlatformBackend windowless_backend{.name = "windowless"};

class RendererWindowSystem : public ::testing::Test {
protected:
    void SetUp() override
    {
        asked.clear();
        platform::register_platform_backend(refusing_backend);
    }

    // The registered backend's renderer, after a first window was asked for.
    static Ref<TRenderDriver> renderer_asked_for_a_window()
    {
        const TGraphicsBackend* backend = graphics_backend();
        EXPECT_NE(backend, nullptr);
        if (!backend)
            return nullptr;
        const Ref<TRenderDriver> renderer = backend->renderer();
        set_graphics_error(Text());
        EXPECT_FALSE(renderer->make_graphics(640, 480, 0, 60, GFX_BACK_BUFFER));
        EXPECT_EQ(last_graphics_error(), refusal());
        return renderer;
    }
};

TEST_F(RendererWindowSystem, TheOpenGLDriversAskTheRegisteredSystemForACompatibilityContext)
{
    register_gl_drivers();
    const Ref<TRenderDriver> renderer = renderer_asked_for_a_window();
    ASSERT_TRUE(renderer);
    EXPECT_EQ(renderer->id(), "gl");
    // The first window asked for is the one drawn into: the hidden one whose
    // context keeps the textures waits until it is needed.
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].style, WindowStyle::Captioned);
    EXPECT_EQ(asked[0].format.api, GLApi::Compatibility);
}

TEST_F(RendererWindowSystem, TheEs2DriversAskTheRegisteredSystemForAnEs2Context)
{
    register_gles2_drivers();
    const Ref<TRenderDriver> renderer = renderer_asked_for_a_window();
    ASSERT_TRUE(renderer);
    EXPECT_EQ(renderer->id(), "gles2");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].style, WindowStyle::Captioned);
    EXPECT_EQ(asked[0].format.api, GLApi::ES2);
}

TEST_F(RendererWindowSystem, DisplayModesAreTheRegisteredSystemsOwn)
{
    register_gl_drivers();
    const TGraphicsModeArray listed = graphics_backend()->display_driver()->list_modes();
    // 8 bits per pixel is below what the drivers offer.
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0]->width, 1024);
    EXPECT_EQ(listed[0]->hertz, 75);
    EXPECT_EQ(listed[1]->height, 600);
    EXPECT_EQ(listed[1]->depth, 24);
}

TEST_F(RendererWindowSystem, WithoutAWindowSystemTheDriversSayThereIsNone)
{
    platform::register_platform_backend(windowless_backend);
    for (void (*register_drivers)() : {&register_gl_drivers, &register_gles2_drivers}) {
        register_drivers();
        set_graphics_error(Text());
        EXPECT_FALSE(graphics_backend()->renderer()->make_graphics(640, 480, 0, 60, 0));
        EXPECT_EQ(last_graphics_error(), Text(u"No window system to open a window on"));
        EXPECT_TRUE(graphics_backend()->display_driver()->list_modes().empty());
    }
    EXPECT_TRUE(asked.empty());
}

} // namespace
} // namespace vantrel
