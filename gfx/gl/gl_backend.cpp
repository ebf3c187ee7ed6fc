// The OpenGL backend's registration.
#include "gfx/gl/gl_backend.h"

#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_render_driver.h"
#include "platform/sdl/sdl_platform.h"

namespace vantrel {
namespace {

Ref<TDisplayDriver> display_driver() { return gl_graphics_driver(); }
Ref<TRenderDriver> renderer() { return gl_render_driver(); }

constexpr TGraphicsBackend gl_backend{.display_driver = &display_driver, .renderer = &renderer};

} // namespace

void gl_backend_init()
{
    platform::sdl_platform_init();
    register_graphics_backend(gl_backend);
}

} // namespace vantrel
