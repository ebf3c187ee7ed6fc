// The null backend's registration.
#include "gfx/null/null_backend.h"

#include "gfx/null/null_graphics_driver.h"
#include "gfx/null/null_render_driver.h"
#include "platform/null/null_platform.h"

namespace vantrel {
namespace {

Ref<TDisplayDriver> display_driver() { return null_graphics_driver(); }
Ref<TRenderDriver> renderer() { return null_render_driver(); }

constexpr TGraphicsBackend null_backend{.display_driver = &display_driver, .renderer = &renderer};

} // namespace

void null_backend_init()
{
    platform::null_platform_init();
    register_graphics_backend(null_backend);
}

} // namespace vantrel
