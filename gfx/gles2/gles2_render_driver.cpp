// Gles2RenderDriver: display-driver forwarding, graphics binding and the
// drawing state turned into ES state.
#include "gfx/gles2/gles2_render_driver.h"

#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_shared_context.h"
#include "gfx/gles2/gles2_calls.h"
#include "gfx/gles2/gles2_program.h"
#include "gfx/gles2/gles2_texture_frame.h"
#include "gfx/graphics2d.h"
#include "gfx/immortal.h"

#include <algorithm>

namespace vantrel {
namespace {

Ref<TGraphics> wrap_backend(Ref<TGraphics> backend, const Ref<TRenderDriver>& renderer)
{
    if (!backend)
        return nullptr;
    return make_ref<TGraphics2D>(std::move(backend), renderer);
}

} // namespace

Ref<GLGraphicsDriver> gles2_graphics_driver()
{
    return gl_graphics_driver_for(platform::GLApi::ES2, &gles2_context_usable);
}

Text Gles2RenderDriver::to_string() const { return u"OpenGL ES"; }

TGraphicsModeArray Gles2RenderDriver::list_modes() { return gles2_graphics_driver()->list_modes(); }

Ref<TGraphics> Gles2RenderDriver::wrap_window(const Ref<TObject>& window, int32_t flags)
{
    return wrap_backend(gles2_graphics_driver()->wrap_window(window, flags),
                        Ref<TRenderDriver>(this));
}

Ref<TGraphics> Gles2RenderDriver::make_graphics(int32_t width, int32_t height, int32_t depth,
                                                int32_t hertz, int32_t flags)
{
    flush();
    return wrap_backend(gles2_graphics_driver()->make_graphics(width, height, depth, hertz, flags),
                        Ref<TRenderDriver>(this));
}

void Gles2RenderDriver::flip(int32_t sync)
{
    flush();
    gles2_graphics_driver()->flip(sync);
}

void Gles2RenderDriver::submit()
{
    flush();
    if (gles2_graphics_driver()->current_record())
        gles.glFlush();
}

void Gles2RenderDriver::bind_graphics(const Ref<TGraphics>& g)
{
    flush();
    if (target_) // the layer goes back to the window first; this is the backstop
        set_render_frame(nullptr);
    auto g2d = ref_cast<TGraphics2D>(g);
    if (!g2d) {
        gles2_graphics_driver()->bind_graphics(nullptr);
        return;
    }
    gles2_graphics_driver()->bind_graphics(g2d->backend);
    batch_.context_changed();
    gles.glUseProgram(gles2_program().name);
    gles.glActiveTexture(GL_TEXTURE0);
    const int32_t w = screen_width(), h = screen_height();
    batch_.set_screen(w, h);
    gles.glViewport(0, gles2_graphics_driver()->frame_base_y(), w, h);
    // The context may keep the state of an earlier binding.
    threshold_ = -1.0f;
    premultiplied_ = false;
    gles.glDisable(GL_BLEND);
    use_graphics2d(g2d);
    set_viewport(g2d->viewport_x, g2d->viewport_y, g2d->viewport_width, g2d->viewport_height);
    set_matrix(g2d->ix, g2d->iy, g2d->jx, g2d->jy);
    set_colour(g2d->colour_red, g2d->colour_green, g2d->colour_blue);
    set_alpha(g2d->alpha);
}

Ref<TImageFrame> Gles2RenderDriver::create_frame_from_pixmap(const Ref<TPixmap>& pixmap,
                                                             int32_t flags)
{
    flush();
    return in_shared_context(
        *gles2_graphics_driver(),
        [&] { return Ref<TImageFrame>(TGles2TextureFrame::create_from_pixmap(pixmap, flags)); },
        [this] { batch_.rebind_texture(); });
}

void Gles2RenderDriver::set_blend(int32_t mode)
{
    flush();
    threshold_ = mode == BLEND_MASK ? 0.5f : -1.0f;
    // The shader multiplies the colour by its alpha (gles2_program.h); the
    // frame's alpha is blended as before.
    premultiplied_ = mode == BLEND_ALPHA || mode == BLEND_LIGHT;
    switch (mode) {
    case BLEND_ALPHA:
        gles.glEnable(GL_BLEND);
        gles.glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA,
                                 GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BLEND_LIGHT:
        gles.glEnable(GL_BLEND);
        gles.glBlendFuncSeparate(GL_ONE, GL_ONE, GL_SRC_ALPHA, GL_ONE);
        break;
    case BLEND_SHADE:
        gles.glEnable(GL_BLEND);
        gles.glBlendFunc(GL_DST_COLOR, GL_ZERO);
        break;
    default: // BLEND_MASK, BLEND_SOLID and every unknown value
        gles.glDisable(GL_BLEND);
        break;
    }
}

void Gles2RenderDriver::set_colour(int32_t red, int32_t green, int32_t blue)
{
    colour_[0] = colour_byte(red);
    colour_[1] = colour_byte(green);
    colour_[2] = colour_byte(blue);
    std::copy_n(colour_, 4, current_);
}

void Gles2RenderDriver::set_alpha(float alpha)
{
    colour_[3] = alpha_byte(alpha);
    std::copy_n(colour_, 4, current_);
}

void Gles2RenderDriver::set_clear_colour(int32_t red, int32_t green, int32_t blue)
{
    gles.glClearColor(colour_byte(red) / 255.0f, colour_byte(green) / 255.0f,
                      colour_byte(blue) / 255.0f, 1.0f);
}

void Gles2RenderDriver::set_viewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    flush();
    const int32_t w = screen_width(), h = screen_height();
    if (x == 0 && y == 0 && width == w && height == h) {
        gles.glDisable(GL_SCISSOR_TEST);
        return;
    }
    gles.glEnable(GL_SCISSOR_TEST);
    gles.glScissor(x, gles2_graphics_driver()->frame_base_y() + h - y - height, width, height);
}

void Gles2RenderDriver::frame_moved()
{
    const Ref<TGraphics2D> g2d = current_graphics2d();
    if (!g2d)
        return;
    flush();
    gles.glViewport(0, gles2_graphics_driver()->frame_base_y(), screen_width(), screen_height());
    set_viewport(g2d->viewport_x, g2d->viewport_y, g2d->viewport_width, g2d->viewport_height);
}

void Gles2RenderDriver::set_matrix(float ix, float iy, float jx, float jy)
{
    matrix_ = ScreenMatrix{ix, iy, jx, jy};
}

void Gles2RenderDriver::set_line_width(float width) { line_width_ = width; }

Ref<Gles2RenderDriver> gles2_render_driver()
{
    // Never destroyed: textures may still be released while the process ends.
    static Immortal<Ref<Gles2RenderDriver>> driver(make_ref<Gles2RenderDriver>());
    static const bool follows_frame = [] {
        gles2_graphics_driver()->set_frame_moved_handler(
            [] { gles2_render_driver()->frame_moved(); });
        return true;
    }();
    (void)follows_frame;
    return driver.get();
}

} // namespace vantrel
