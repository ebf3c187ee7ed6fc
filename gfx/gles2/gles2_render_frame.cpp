// Gles2RenderFrame, and the ES renderer's switch between drawing into the
// window and into an offscreen image.
#include "gfx/gles2/gles2_render_frame.h"

#include "core/error.h"
#include "gfx/gl/gl_framebuffer.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/gles2/gles2_calls.h"
#include "gfx/gles2/gles2_render_driver.h"
#include "gfx/graphics.h"
#include "platform/window.h"

#include <cstdio>

namespace vantrel {
namespace {

struct Gles2FramebufferCalls {
    decltype(&::glGenFramebuffers) gen = nullptr;
    decltype(&::glDeleteFramebuffers) erase = nullptr;
    decltype(&::glBindFramebuffer) bind = nullptr;
    decltype(&::glFramebufferTexture2D) attach = nullptr;
    decltype(&::glCheckFramebufferStatus) status = nullptr;
    decltype(&::glGetFloatv) get_floats = nullptr;
    decltype(&::glIsEnabled) is_enabled = nullptr;
};
Gles2FramebufferCalls fbo;

template <class T>
bool look_up(T& entry, const char* name)
{
    entry = reinterpret_cast<T>(platform::gl_proc_address(name));
    return entry != nullptr;
}

// Mipmaps would need remaking after every drawing: none.
GLuint blank_texture(int32_t tw, int32_t th, int32_t flags)
{
    const GLint filter = (flags & IMAGE_FILTERED) ? GL_LINEAR : GL_NEAREST;
    GLuint name = 0;
    gles.glGenTextures(1, &name);
    gles.glBindTexture(GL_TEXTURE_2D, name);
    gles.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gles.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gles.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    gles.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    gles.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    return name;
}

Ref<TGles2TextureFrame> new_picture(int32_t width, int32_t height, int32_t tw, int32_t th,
                                    int32_t flags)
{
    auto driver = gles2_graphics_driver();
    auto picture = make_ref<TGles2TextureFrame>();
    driver->switch_shared_context();
    picture->texture = blank_texture(tw, th, flags);
    picture->seq = graphics_seq();
    picture->group = driver->texture_group();
    gles.glFlush();
    driver->switch_shared_context();
    picture->uv[1] = static_cast<float>(height) / static_cast<float>(th);
    picture->uv[2] = static_cast<float>(width) / static_cast<float>(tw);
    return picture;
}

void clear_transparent()
{
    GLfloat keep[4];
    fbo.get_floats(GL_COLOR_CLEAR_VALUE, keep);
    const GLboolean scissor = fbo.is_enabled(GL_SCISSOR_TEST);
    gles.glDisable(GL_SCISSOR_TEST);
    gles.glClearColor(0, 0, 0, 0);
    gles.glClear(GL_COLOR_BUFFER_BIT);
    gles.glClearColor(keep[0], keep[1], keep[2], keep[3]);
    if (scissor)
        gles.glEnable(GL_SCISSOR_TEST);
}

std::string size_refusal(int32_t width, int32_t height)
{
    GLint largest = 0, dims[2] = {0, 0};
    gles.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    gles.glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    return render_size_refusal("OpenGL ES", width, height, largest, dims[0], dims[1]);
}

uint32_t framebuffer_of(const Ref<TImageFrame>& frame)
{
    const Ref<Gles2RenderFrame> f = ref_cast<Gles2RenderFrame>(frame);
    return f ? f->framebuffer : 0;
}

} // namespace

bool gles2_framebuffers_available(std::string& reason)
{
    static bool found = false;
    if (!found) {
        bool ok = look_up(fbo.gen, "glGenFramebuffers");
        ok = look_up(fbo.erase, "glDeleteFramebuffers") && ok;
        ok = look_up(fbo.bind, "glBindFramebuffer") && ok;
        ok = look_up(fbo.attach, "glFramebufferTexture2D") && ok;
        ok = look_up(fbo.get_floats, "glGetFloatv") && ok;
        ok = look_up(fbo.is_enabled, "glIsEnabled") && ok;
        found = look_up(fbo.status, "glCheckFramebufferStatus") && ok;
    }
    if (!found)
        reason = "OpenGL ES gives no framebuffer object entry points: it cannot draw into images";
    return found;
}

void gles2_bind_framebuffer(uint32_t framebuffer) { fbo.bind(GL_FRAMEBUFFER, framebuffer); }

Gles2RenderFrame::~Gles2RenderFrame()
{
    if (framebuffer == 0 || !owner || !same_object(owner, gles2_graphics_driver()->current_record()))
        return; // a framebuffer of a context that is gone went with it
    gles2_render_driver()->flush();
    const GLuint name = framebuffer;
    fbo.erase(1, &name);
}

void Gles2RenderFrame::draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    if (gles2_render_driver()->render_frame().get() == this)
        raise_error(u"An offscreen image cannot be drawn into itself");
    picture->draw(x0, y0, x1, y1, tx, ty);
}

bool Gles2RenderFrame::bind(std::string& reason)
{
    const Ref<GLContextRecord> current = gles2_graphics_driver()->current_record();
    if (framebuffer != 0 && same_object(owner, current)) {
        gles2_bind_framebuffer(framebuffer);
        return true;
    }
    GLuint name = 0;
    fbo.gen(1, &name);
    fbo.bind(GL_FRAMEBUFFER, name);
    fbo.attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture->texture, 0);
    const GLenum status = fbo.status(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        char text[96];
        std::snprintf(text, sizeof text,
                      "The offscreen image's framebuffer is incomplete (status 0x%04X)",
                      static_cast<unsigned>(status));
        reason = text;
        fbo.bind(GL_FRAMEBUFFER, 0);
        fbo.erase(1, &name);
        return false;
    }
    framebuffer = name;
    owner = current;
    return true;
}

Ref<TImageFrame> Gles2RenderDriver::create_render_frame(int32_t width, int32_t height,
                                                        int32_t flags)
{
    std::string reason;
    if (!gles2_framebuffers_available(reason) || !(reason = size_refusal(width, height)).empty()) {
        set_graphics_error(Text::from_bytes(reason));
        return nullptr;
    }
    flush();
    auto frame = make_ref<Gles2RenderFrame>();
    frame->width = width;
    frame->height = height;
    frame->picture = new_picture(width, height, power_of_two_at_least(width),
                                 power_of_two_at_least(height), flags);
    const bool bound = frame->bind(reason);
    if (bound)
        clear_transparent();
    gles2_bind_framebuffer(framebuffer_of(target_));
    if (!bound) {
        set_graphics_error(Text::from_bytes(reason));
        return nullptr;
    }
    return frame;
}

void Gles2RenderDriver::set_render_frame(const Ref<TImageFrame>& frame)
{
    const Ref<Gles2RenderFrame> next = ref_cast<Gles2RenderFrame>(frame);
    if (frame && !next)
        raise_error(u"The frame is not an offscreen image of the OpenGL ES renderer");
    flush();
    std::string reason;
    if (next && !next->bind(reason)) {
        gles2_bind_framebuffer(framebuffer_of(target_));
        raise_error(Text::from_bytes(reason));
    }
    if (!next && target_)
        gles2_bind_framebuffer(0);
    target_ = next;
    auto driver = gles2_graphics_driver();
    driver->set_drawing_offscreen(static_cast<bool>(next));
    const int32_t w = next ? next->width : screen_width();
    const int32_t h = next ? next->height : screen_height();
    batch_.set_screen(w, h);
    gles.glViewport(0, driver->frame_base_y(), w, h);
}

} // namespace vantrel
