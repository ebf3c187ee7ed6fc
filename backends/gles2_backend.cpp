// The program's OpenGL ES 2.0 backend: the ES 2.0 drivers in SDL's windows
// (in the browser, SDL's canvas with WebGL).
#include "gfx/gles2/gles2_backend.h"

#include "gfx/gles2/gles2_drivers.h"
#include "platform/sdl/sdl_platform.h"

namespace vantrel {

void gles2_backend_init()
{
    platform::sdl_platform_init();
    register_gles2_drivers();
}

} // namespace vantrel
