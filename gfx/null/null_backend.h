// The null backend: NullGraphicsDriver and NullRenderDriver, on the null
// window system. Draws nothing, records everything, needs no display.
#pragma once

namespace vantrel {

// Registers the null window system (platform/null) and the null drivers for
// graphics_init and graphics2d_init to select, the display driver first,
// then the renderer. Call before the engine's start-up; safe to call again.
void null_backend_init();

} // namespace vantrel
