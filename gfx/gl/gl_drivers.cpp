// The OpenGL drivers as the registered graphics backend.
#include "gfx/gl/gl_drivers.h"

#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_render_driver.h"

namespace vantrel {
namespace {

Ref<TDisplayDriver> display_driver() { return gl_graphics_driver(); }
Ref<TRenderDriver> renderer() { return gl_render_driver(); }

constexpr TGraphicsBackend gl_backend{.display_driver = &display_driver, .renderer = &renderer};

} // namespace

void register_gl_drivers() { register_graphics_backend(gl_backend); }

} // namespace vantrel
