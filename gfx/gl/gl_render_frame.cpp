// GLRenderFrame, and the desktop renderer's switch between drawing into
// the window and into an offscreen image.
#include "gfx/gl/gl_render_frame.h"

#include "core/error.h"
#include "gfx/gl/gl_framebuffer.h"
#include "gfx/gl/gl_render_driver.h"
#include "gfx/graphics.h"

#include <GL/gl.h>

#include <string>

namespace vantrel {
namespace {

// The texture of a new frame, made in the shared context.
Ref<TGLTextureFrame> new_picture(int32_t width, int32_t height, int32_t tw, int32_t th,
                                 int32_t flags)
{
    auto driver = gl_graphics_driver();
    auto picture = make_ref<TGLTextureFrame>();
    driver->switch_shared_context();
    picture->texture = create_texture(tw, th, flags);
    picture->seq = graphics_seq();
    picture->group = driver->texture_group();
    glFlush();
    driver->switch_shared_context();
    picture->u_right = static_cast<float>(width) / static_cast<float>(tw);
    picture->v_top = static_cast<float>(height) / static_cast<float>(th);
    return picture;
}

// Transparent all over, the texels beyond the picture too, whatever the
// scissor and the clear colour.
void clear_transparent()
{
    GLfloat keep[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, keep);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(keep[0], keep[1], keep[2], keep[3]);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

// Empty when the frame fits the context's limits.
std::string size_refusal(int32_t width, int32_t height)
{
    GLint largest = 0, dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    return render_size_refusal("OpenGL", width, height, largest, dims[0], dims[1]);
}

} // namespace

GLRenderFrame::~GLRenderFrame()
{
    // A framebuffer of a context that is gone went with it.
    if (framebuffer != 0 && owner && same_object(owner, gl_graphics_driver()->current_record()))
        gl_delete_framebuffer(framebuffer);
}

void GLRenderFrame::draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    if (gl_render_driver()->render_frame().get() == this)
        raise_error(u"An offscreen image cannot be drawn into itself");
    picture->draw(x0, y0, x1, y1, tx, ty);
}

bool GLRenderFrame::bind(std::string& reason)
{
    const Ref<GLContextRecord> current = gl_graphics_driver()->current_record();
    if (framebuffer != 0 && same_object(owner, current)) {
        gl_bind_framebuffer(framebuffer);
        return true;
    }
    // One made in another context that still lives stays there until it closes.
    framebuffer = gl_make_texture_framebuffer(picture->texture, reason);
    owner = framebuffer != 0 ? current : nullptr;
    return framebuffer != 0;
}

Ref<TImageFrame> GLRenderDriver::create_render_frame(int32_t width, int32_t height, int32_t flags)
{
    std::string reason;
    if (!gl_framebuffers_available(reason)) {
        set_graphics_error(Text::from_bytes(reason));
        return nullptr;
    }
    const int32_t tw = power_of_two_at_least(width), th = power_of_two_at_least(height);
    reason = size_refusal(width, height);
    if (!reason.empty()) {
        set_graphics_error(Text::from_bytes(reason));
        return nullptr;
    }
    auto frame = make_ref<GLRenderFrame>();
    frame->width = width;
    frame->height = height;
    frame->picture = new_picture(width, height, tw, th, flags);
    const bool bound = frame->bind(reason);
    if (bound)
        clear_transparent();
    gl_bind_framebuffer(target_ ? ref_cast<GLRenderFrame>(target_)->framebuffer : 0);
    if (!bound) {
        set_graphics_error(Text::from_bytes(reason));
        return nullptr;
    }
    return frame;
}

void GLRenderDriver::set_render_frame(const Ref<TImageFrame>& frame)
{
    const Ref<GLRenderFrame> next = ref_cast<GLRenderFrame>(frame);
    if (frame && !next)
        raise_error(u"The frame is not an offscreen image of the OpenGL renderer");
    std::string reason;
    if (next && !next->bind(reason)) {
        gl_bind_framebuffer(target_ ? ref_cast<GLRenderFrame>(target_)->framebuffer : 0);
        raise_error(Text::from_bytes(reason));
    }
    if (!next && target_)
        gl_bind_framebuffer(0);
    target_ = next;
    auto driver = gl_graphics_driver();
    driver->set_drawing_offscreen(static_cast<bool>(next));
    const int32_t w = next ? next->width : screen_width();
    const int32_t h = next ? next->height : screen_height();
    glViewport(0, driver->frame_base_y(), w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
}

} // namespace vantrel
