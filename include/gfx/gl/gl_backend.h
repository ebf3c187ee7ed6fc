// The OpenGL backend: GLGraphicsDriver for windows, contexts and buffer
// swaps, and GLRenderDriver drawing over it, on the SDL window system. The
// library vantrel_backends gives it (the renderer's own library knows no
// window system).
#pragma once

namespace vantrel {

// Registers the SDL window system (the windows are SDL's, and so are their
// messages and the audio output) and the OpenGL drivers, for graphics_init
// and graphics2d_init to select: first the display driver, then the
// renderer, which so becomes the current driver. Starts nothing: the
// drivers are made when selected, the window system with the first window.
// Call before the engine's start-up; safe to call again.
void gl_backend_init();

} // namespace vantrel
