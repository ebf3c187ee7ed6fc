// The OpenGL ES 2.0 backend's registration.
#include "gfx/gles2/gles2_backend.h"

#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gles2/gles2_render_driver.h"
#include "platform/sdl/sdl_platform.h"

namespace vantrel {
namespace {

Ref<TDisplayDriver> display_driver() { return gles2_graphics_driver(); }
Ref<TRenderDriver> renderer() { return gles2_render_driver(); }

constexpr TGraphicsBackend gles2_backend{.display_driver = &display_driver,
                                         .renderer = &renderer};

} // namespace

void gles2_backend_init()
{
    platform::sdl_platform_init();
    register_graphics_backend(gles2_backend);
}

} // namespace vantrel
