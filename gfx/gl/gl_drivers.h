// The OpenGL drivers' registration, on whichever window system the platform
// has registered (platform/window.h): this library knows no window system
// by name. gl_backend_init (backends/) pairs them with SDL's.
#pragma once

namespace vantrel {

// Registers GLGraphicsDriver and GLRenderDriver as the graphics backend for
// graphics_init and graphics2d_init to select. Starts nothing; safe to call
// again.
void register_gl_drivers();

} // namespace vantrel
