// The OpenGL ES 2.0 backend: the display driver of gfx/gl making ES 2.0
// contexts, and Gles2RenderDriver drawing with shaders over it, on the SDL
// window system. The library vantrel_backends gives it, as it does
// gl_backend_init.
#pragma once

namespace vantrel {

// As gl_backend_init, with the ES 2.0 drivers. A machine without ES 2.0
// fails at the first open_graphics, its reason in the graphics error text.
void gles2_backend_init();

} // namespace vantrel
