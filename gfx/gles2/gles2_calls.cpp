#include "gfx/gles2/gles2_calls.h"

#include "platform/window.h"

namespace vantrel {

Gles2Calls gles;

namespace {

template <class T>
bool look_up(T& entry, const char* name, std::string& missing)
{
    if (!entry)
        entry = reinterpret_cast<T>(platform::gl_proc_address(name));
    if (!entry && missing.empty())
        missing = name;
    return entry != nullptr;
}

} // namespace

bool gles2_load_calls(std::string& reason)
{
    std::string missing;
    bool ok = true;
#define VANTREL_GLES2_LOOK_UP(name) ok = look_up(gles.name, #name, missing) && ok;
    VANTREL_GLES2_CALLS(VANTREL_GLES2_LOOK_UP)
#undef VANTREL_GLES2_LOOK_UP
    if (!ok)
        reason = "OpenGL ES 2.0 has no " + missing;
    return ok;
}

} // namespace vantrel
