#include "gfx/gl/gl_context_check.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#ifndef GL_CONTEXT_PROFILE_MASK
#define GL_CONTEXT_PROFILE_MASK 0x9126
#endif
#ifndef GL_CONTEXT_CORE_PROFILE_BIT
#define GL_CONTEXT_CORE_PROFILE_BIT 0x00000001
#endif

namespace vantrel {

bool fixed_function_available(std::string& reason)
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2) {
        reason = "The OpenGL context reports no version";
        return false;
    }
    if (major > 3 || (major == 3 && minor >= 2)) {
        GLint mask = 0;
        glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &mask);
        if (mask & GL_CONTEXT_CORE_PROFILE_BIT) {
            reason = std::string("Only a core-profile OpenGL context is available (") + version + ")";
            return false;
        }
    }
    return true;
}

bool gl_offers_extension(std::string_view name)
{
    const auto* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    for (std::string_view rest = list ? list : ""; !rest.empty();) {
        const size_t end = rest.find(' ');
        if (rest.substr(0, end) == name)
            return true;
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

} // namespace vantrel
