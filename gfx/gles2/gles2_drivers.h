// The OpenGL ES 2.0 drivers' registration, on whichever window system the
// platform has registered; gles2_backend_init (backends/) pairs them with
// SDL's.
#pragma once

namespace vantrel {

// Registers the display driver of gfx/gl making ES 2.0 contexts and
// Gles2RenderDriver as the graphics backend. Starts nothing; safe to call
// again.
void register_gles2_drivers();

} // namespace vantrel
