// The renderers the program can draw with, by the names --renderer takes.
#include "game/command_line.h"

#ifndef __EMSCRIPTEN__
#include "gfx/gl/gl_backend.h"
#endif
#ifdef VANTREL_HAVE_GLES2
#include "gfx/gles2/gles2_backend.h"
#endif

#include <array>

namespace vantrel {
namespace {

struct Renderer {
    std::string_view name;
    BackendInit init;
};

#if defined(__EMSCRIPTEN__)
// WebGL is OpenGL ES 2.0: the fixed-function renderer has nothing to draw on.
constexpr std::array<Renderer, 1> renderers{{{"gles2", &gles2_backend_init}}};
constexpr std::array<std::string_view, 1> names{renderers[0].name};
#elif defined(VANTREL_HAVE_GLES2)
constexpr std::array<Renderer, 2> renderers{{{"gl", &gl_backend_init},
                                             {"gles2", &gles2_backend_init}}};
constexpr std::array<std::string_view, 2> names{renderers[0].name, renderers[1].name};
#else
constexpr std::array<Renderer, 1> renderers{{{"gl", &gl_backend_init}}};
constexpr std::array<std::string_view, 1> names{renderers[0].name};
#endif

} // namespace

std::span<const std::string_view> renderer_names() { return names; }

BackendInit renderer_backend(std::string_view name)
{
    for (const Renderer& r : renderers)
        if (r.name == name)
            return r.init;
    return nullptr;
}

} // namespace vantrel
