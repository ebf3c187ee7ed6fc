// The OpenGL ES 2.0 drivers as the registered graphics backend.
#include "gfx/gles2/gles2_drivers.h"

#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gles2/gles2_render_driver.h"

namespace vantrel {
namespace {

Ref<TDisplayDriver> display_driver() { return gles2_graphics_driver(); }
Ref<TRenderDriver> renderer() { return gles2_render_driver(); }

constexpr TGraphicsBackend gles2_backend{.display_driver = &display_driver,
                                         .renderer = &renderer};

} // namespace

void register_gles2_drivers() { register_graphics_backend(gles2_backend); }

} // namespace vantrel
