// The program's OpenGL backend: the OpenGL drivers in SDL's windows.
#include "gfx/gl/gl_backend.h"

#include "gfx/gl/gl_drivers.h"
#include "platform/sdl/sdl_platform.h"

namespace vantrel {

void gl_backend_init()
{
    platform::sdl_platform_init();
    register_gl_drivers();
}

} // namespace vantrel
