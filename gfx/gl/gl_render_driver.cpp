// GLRenderDriver: display-driver forwarding, graphics binding and the
// drawing state turned into OpenGL state.
#include "gfx/gl/gl_render_driver.h"

#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_shared_context.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/graphics2d.h"
#include "gfx/immortal.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

namespace vantrel {
namespace {

Ref<TGraphics> wrap_backend(Ref<TGraphics> backend, const Ref<TRenderDriver>& renderer)
{
    if (!backend)
        return nullptr;
    return make_ref<TGraphics2D>(std::move(backend), renderer);
}

} // namespace

Text GLRenderDriver::to_string() const { return u"OpenGL"; }

TGraphicsModeArray GLRenderDriver::list_modes() { return gl_graphics_driver()->list_modes(); }

Ref<TGraphics> GLRenderDriver::wrap_window(const Ref<TObject>& window, int32_t flags)
{
    return wrap_backend(gl_graphics_driver()->wrap_window(window, flags), Ref<TRenderDriver>(this));
}

Ref<TGraphics> GLRenderDriver::make_graphics(int32_t width, int32_t height, int32_t depth,
                                             int32_t hertz, int32_t flags)
{
    return wrap_backend(gl_graphics_driver()->make_graphics(width, height, depth, hertz, flags),
                        Ref<TRenderDriver>(this));
}

void GLRenderDriver::flip(int32_t sync) { gl_graphics_driver()->flip(sync); }

void GLRenderDriver::submit() { gl_graphics_driver()->submit(); }

void GLRenderDriver::bind_graphics(const Ref<TGraphics>& g)
{
    if (target_) // the layer goes back to the window first; this is the backstop
        set_render_frame(nullptr);
    auto g2d = ref_cast<TGraphics2D>(g);
    if (!g2d) {
        // Only a detach reaches here in practice; anything else is not ours.
        gl_graphics_driver()->bind_graphics(nullptr);
        return;
    }
    gl_graphics_driver()->bind_graphics(g2d->backend);
    // The context may keep the state of an earlier binding: the next
    // set_blend must reach OpenGL whatever mode it asks for, 0 included.
    blend_cache_ = BLEND_UNKNOWN;
    texture_cache_ = 0;
    texturing_cache_ = 0;
    glDisable(GL_TEXTURE_2D);

    const int32_t w = screen_width(), h = screen_height();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, gl_graphics_driver()->frame_base_y(), w, h);

    use_graphics2d(g2d);
    set_viewport(g2d->viewport_x, g2d->viewport_y, g2d->viewport_width, g2d->viewport_height);
    set_matrix(g2d->ix, g2d->iy, g2d->jx, g2d->jy);
    set_colour(g2d->colour_red, g2d->colour_green, g2d->colour_blue);
    set_alpha(g2d->alpha);
}

Ref<TImageFrame> GLRenderDriver::create_frame_from_pixmap(const Ref<TPixmap>& pixmap,
                                                          int32_t flags)
{
    return in_shared_context(
        *gl_graphics_driver(),
        [&] { return Ref<TImageFrame>(TGLTextureFrame::create_from_pixmap(pixmap, flags)); },
        [this] { glBindTexture(GL_TEXTURE_2D, texture_cache_); });
}

void GLRenderDriver::set_blend(int32_t mode)
{
    if (mode == blend_cache_)
        return;
    blend_cache_ = mode;
    switch (mode) {
    case BLEND_MASK:
        glDisable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GEQUAL, 0.5f);
        return;
    case BLEND_ALPHA:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BLEND_LIGHT:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case BLEND_SHADE:
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_COLOR, GL_ZERO);
        break;
    default: // BLEND_SOLID and every unknown value
        glDisable(GL_BLEND);
        break;
    }
    glDisable(GL_ALPHA_TEST);
}

void GLRenderDriver::set_colour(int32_t red, int32_t green, int32_t blue)
{
    colour_[0] = colour_byte(red);
    colour_[1] = colour_byte(green);
    colour_[2] = colour_byte(blue);
    apply_colour();
}

void GLRenderDriver::set_alpha(float alpha)
{
    colour_[3] = alpha_byte(alpha);
    apply_colour();
}

void GLRenderDriver::apply_colour() { glColor4ubv(colour_); }

void GLRenderDriver::colour_bytes(uint8_t out[4]) const { std::copy_n(colour_, 4, out); }

void GLRenderDriver::set_clear_colour(int32_t red, int32_t green, int32_t blue)
{
    glClearColor(colour_byte(red) / 255.0f, colour_byte(green) / 255.0f,
                 colour_byte(blue) / 255.0f, 1.0f);
}

void GLRenderDriver::set_viewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    const int32_t w = screen_width(), h = screen_height();
    if (x == 0 && y == 0 && width == w && height == h) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, gl_graphics_driver()->frame_base_y() + h - y - height, width, height);
}

void GLRenderDriver::frame_moved()
{
    const Ref<TGraphics2D> g2d = current_graphics2d();
    if (!g2d)
        return;
    glViewport(0, gl_graphics_driver()->frame_base_y(), screen_width(), screen_height());
    set_viewport(g2d->viewport_x, g2d->viewport_y, g2d->viewport_width, g2d->viewport_height);
}

void GLRenderDriver::set_matrix(float ix, float iy, float jx, float jy)
{
    matrix_ = ScreenMatrix{ix, iy, jx, jy};
}

void GLRenderDriver::set_line_width(float width) { glLineWidth(width); }

void GLRenderDriver::enable_texture(uint32_t name)
{
    if (name != texture_cache_) {
        glBindTexture(GL_TEXTURE_2D, name);
        texture_cache_ = name;
    }
    if (!texturing_cache_) {
        glEnable(GL_TEXTURE_2D);
        texturing_cache_ = 1;
    }
}

void GLRenderDriver::disable_texture()
{
    if (texturing_cache_) {
        glDisable(GL_TEXTURE_2D);
        texturing_cache_ = 0;
    }
}

void GLRenderDriver::forget_texture(uint32_t name)
{
    if (name == texture_cache_)
        texture_cache_ = 0;
}

Ref<GLRenderDriver> gl_render_driver()
{
    // Never destroyed: textures may still be released while the process ends.
    static Immortal<Ref<GLRenderDriver>> driver(make_ref<GLRenderDriver>());
    static const bool follows_frame = [] {
        gl_graphics_driver()->set_frame_moved_handler([] { gl_render_driver()->frame_moved(); });
        return true;
    }();
    (void)follows_frame;
    return driver.get();
}

} // namespace vantrel
