#include "gfx/gl/gl_scaled_frame.h"

#include "gfx/gl/gl_context_check.h"
#include "platform/window.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace vantrel {
namespace {

// Framebuffer entry points: core since OpenGL 3.0, and the same functions
// in ARB_framebuffer_object before that.
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC gen_framebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC delete_framebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebuffer_renderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC check_framebuffer_status = nullptr;
    PFNGLGENRENDERBUFFERSPROC gen_renderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC delete_renderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bind_renderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbuffer_storage = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blit_framebuffer = nullptr;
};
FramebufferCalls fb;

template <class T>
bool load(T& entry, const char* name)
{
    entry = reinterpret_cast<T>(platform::gl_proc_address(name));
    return entry != nullptr;
}

bool load_calls()
{
    bool ok = load(fb.gen_framebuffers, "glGenFramebuffers");
    ok = load(fb.delete_framebuffers, "glDeleteFramebuffers") && ok;
    ok = load(fb.bind_framebuffer, "glBindFramebuffer") && ok;
    ok = load(fb.framebuffer_renderbuffer, "glFramebufferRenderbuffer") && ok;
    ok = load(fb.check_framebuffer_status, "glCheckFramebufferStatus") && ok;
    ok = load(fb.gen_renderbuffers, "glGenRenderbuffers") && ok;
    ok = load(fb.delete_renderbuffers, "glDeleteRenderbuffers") && ok;
    ok = load(fb.bind_renderbuffer, "glBindRenderbuffer") && ok;
    ok = load(fb.renderbuffer_storage, "glRenderbufferStorage") && ok;
    return load(fb.blit_framebuffer, "glBlitFramebuffer") && ok;
}

bool framebuffers_offered()
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    if (version && std::sscanf(version, "%d", &major) == 1 && major >= 3)
        return true;
    // An ES context: blits came with 3.0, which a request for 2.0 may give.
    if (version && std::sscanf(version, "OpenGL ES %d", &major) == 1)
        return major >= 3;
    return gl_offers_extension("GL_ARB_framebuffer_object");
}

uint32_t make_renderbuffer(GLenum format, int32_t width, int32_t height)
{
    GLuint name = 0;
    fb.gen_renderbuffers(1, &name);
    fb.bind_renderbuffer(GL_RENDERBUFFER, name);
    fb.renderbuffer_storage(GL_RENDERBUFFER, format, width, height);
    fb.bind_renderbuffer(GL_RENDERBUFFER, 0);
    return name;
}

// Clears what the scaled frame leaves uncovered; the scissor is the
// caller's to restore.
void clear_bars(const FrameFit& fit, int32_t drawable_width, int32_t drawable_height)
{
    const int32_t right = fit.x + fit.width, top = fit.y + fit.height;
    const int32_t bars[4][4] = {{0, 0, fit.x, drawable_height},
                                {right, 0, drawable_width - right, drawable_height},
                                {fit.x, 0, fit.width, fit.y},
                                {fit.x, top, fit.width, drawable_height - top}};
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(0, 0, 0, 1);
    glEnable(GL_SCISSOR_TEST);
    for (const auto& bar : bars)
        if (bar[2] > 0 && bar[3] > 0) {
            glScissor(bar[0], bar[1], bar[2], bar[3]);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    glDisable(GL_SCISSOR_TEST);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

} // namespace

FrameFit fit_frame(int32_t width, int32_t height, int32_t drawable_width, int32_t drawable_height)
{
    FrameFit fit;
    if (width <= 0 || height <= 0 || drawable_width <= 0 || drawable_height <= 0)
        return fit;
    const double scale = std::min(static_cast<double>(drawable_width) / width,
                                  static_cast<double>(drawable_height) / height);
    fit.width = std::min(drawable_width, static_cast<int32_t>(std::lround(width * scale)));
    fit.height = std::min(drawable_height, static_cast<int32_t>(std::lround(height * scale)));
    fit.x = (drawable_width - fit.width) / 2;
    fit.y = (drawable_height - fit.height) / 2;
    fit.whole = fit.width % width == 0 && fit.height % height == 0 &&
                fit.width / width == fit.height / height;
    return fit;
}

bool GLScaledFrame::supported()
{
    static const bool calls = load_calls();
    return calls && framebuffers_offered();
}

bool GLScaledFrame::create(int32_t width, int32_t height)
{
    destroy();
    width_ = width;
    height_ = height;
    colour_ = make_renderbuffer(GL_RGBA8, width, height);
    GLuint name = 0;
    fb.gen_framebuffers(1, &name);
    framebuffer_ = name;
    fb.bind_framebuffer(GL_FRAMEBUFFER, framebuffer_);
    fb.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    const bool complete = fb.check_framebuffer_status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    fb.bind_framebuffer(GL_FRAMEBUFFER, 0);
    if (!complete)
        destroy();
    return complete;
}

void GLScaledFrame::destroy()
{
    if (framebuffer_ != 0) {
        const GLuint frame = framebuffer_;
        fb.delete_framebuffers(1, &frame);
    }
    if (colour_ != 0) {
        const GLuint colour = colour_;
        fb.delete_renderbuffers(1, &colour);
    }
    framebuffer_ = colour_ = 0;
}

void GLScaledFrame::clear_to_black()
{
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

void GLScaledFrame::present(int32_t base_y, int32_t drawable_width, int32_t drawable_height)
{
    if (!active())
        return;
    const FrameFit fit = fit_frame(width_, height_, drawable_width, drawable_height);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glDisable(GL_SCISSOR_TEST);
    // Out of the back buffer first: the scaled copy covers where it was.
    fb.bind_framebuffer(GL_DRAW_FRAMEBUFFER, framebuffer_);
    fb.blit_framebuffer(0, base_y, width_, base_y + height_, 0, 0, width_, height_,
                        GL_COLOR_BUFFER_BIT, GL_NEAREST);
    fb.bind_framebuffer(GL_DRAW_FRAMEBUFFER, 0);
    clear_bars(fit, drawable_width, drawable_height);
    fb.bind_framebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    fb.blit_framebuffer(0, 0, width_, height_, fit.x, fit.y, fit.x + fit.width,
                        fit.y + fit.height, GL_COLOR_BUFFER_BIT, fit.whole ? GL_NEAREST : GL_LINEAR);
    fb.bind_framebuffer(GL_READ_FRAMEBUFFER, 0);
    glScissor(box[0], box[1], box[2], box[3]);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

} // namespace vantrel
