// Framebuffer objects on desktop OpenGL: which flavour the context offers,
// the entry points, and the size limits of an offscreen image.
#include "gfx/gl/gl_framebuffer.h"

#include "gfx/gl/gl_context_check.h"
#include "gfx/gl/gl_texture_frame.h"
#include "platform/window.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace vantrel {
namespace {

struct TextureFramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC gen = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC erase = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC attach = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC status = nullptr;
};
TextureFramebufferCalls calls;

enum class Flavour { None, Core, Ext };

Flavour offered_flavour()
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    if ((version && std::sscanf(version, "%d", &major) == 1 && major >= 3) ||
        gl_offers_extension("GL_ARB_framebuffer_object"))
        return Flavour::Core;
    return gl_offers_extension("GL_EXT_framebuffer_object") ? Flavour::Ext : Flavour::None;
}

template <class T>
bool look_up(T& entry, const std::string& name)
{
    entry = reinterpret_cast<T>(platform::gl_proc_address(name.c_str()));
    return entry != nullptr;
}

bool look_up_calls(const std::string& suffix)
{
    bool ok = look_up(calls.gen, "glGenFramebuffers" + suffix);
    ok = look_up(calls.erase, "glDeleteFramebuffers" + suffix) && ok;
    ok = look_up(calls.bind, "glBindFramebuffer" + suffix) && ok;
    ok = look_up(calls.attach, "glFramebufferTexture2D" + suffix) && ok;
    return look_up(calls.status, "glCheckFramebufferStatus" + suffix) && ok;
}

std::string size_text(int32_t width, int32_t height)
{
    return std::to_string(width) + " x " + std::to_string(height);
}

} // namespace

bool gl_framebuffers_available(std::string& reason)
{
    static bool found = false;
    if (found)
        return true;
    const Flavour flavour = offered_flavour();
    if (flavour == Flavour::None) {
        reason = "OpenGL offers no framebuffer objects (3.0, ARB_framebuffer_object or "
                 "EXT_framebuffer_object): it cannot draw into images";
        return false;
    }
    // The EXT calls take the same arguments and enumerants as the core ones.
    found = look_up_calls(flavour == Flavour::Ext ? "EXT" : "");
    if (!found)
        reason = "OpenGL names framebuffer objects but gives no entry points for them";
    return found;
}

uint32_t gl_make_texture_framebuffer(uint32_t texture, std::string& reason)
{
    GLuint name = 0;
    calls.gen(1, &name);
    calls.bind(GL_FRAMEBUFFER, name);
    calls.attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    const GLenum status = calls.status(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE)
        return name;
    char text[96];
    std::snprintf(text, sizeof text, "The offscreen image's framebuffer is incomplete (status 0x%04X)",
                  static_cast<unsigned>(status));
    reason = text;
    calls.bind(GL_FRAMEBUFFER, 0);
    calls.erase(1, &name);
    return 0;
}

void gl_bind_framebuffer(uint32_t framebuffer) { calls.bind(GL_FRAMEBUFFER, framebuffer); }

void gl_delete_framebuffer(uint32_t framebuffer)
{
    const GLuint name = framebuffer;
    calls.erase(1, &name);
}

std::string render_size_refusal(const char* api, int32_t width, int32_t height,
                                int32_t largest_texture, int32_t most_width, int32_t most_height)
{
    const int32_t tw = power_of_two_at_least(width), th = power_of_two_at_least(height);
    if (tw <= largest_texture && th <= largest_texture && width <= most_width &&
        height <= most_height)
        return {};
    return "An offscreen image of " + size_text(width, height) + " needs a " +
           size_text(tw, th) + " texture; " + api + " takes at most " +
           size_text(largest_texture, largest_texture) + " and draws at most " +
           size_text(most_width, most_height);
}

} // namespace vantrel
