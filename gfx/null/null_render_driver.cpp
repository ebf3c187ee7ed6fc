// NullRenderDriver: the drawing state and shapes, recorded.
#include "gfx/null/null_render_driver.h"

#include "assets/pixmap.h"
#include "gfx/graphics2d.h"
#include "gfx/immortal.h"
#include "gfx/null/null_graphics_driver.h"
#include "gfx/null/null_texture_frame.h"

#include <algorithm>

namespace vantrel {
namespace {

struct RecordingSink {
    NullCall& call;
    void begin(Primitive p) { call.primitive = p; }
    void vertex(float x, float y) { call.vertices.push_back({x, y, 0, 0}); }
    void vertex(float x, float y, float u, float v) { call.vertices.push_back({x, y, u, v}); }
    void end() {}
};

Ref<TGraphics> wrap_backend(Ref<TGraphics> backend, const Ref<TRenderDriver>& renderer)
{
    if (!backend)
        return nullptr;
    return make_ref<TGraphics2D>(std::move(backend), renderer);
}

} // namespace

Text NullRenderDriver::to_string() const { return u"Null"; }

TGraphicsModeArray NullRenderDriver::list_modes() { return null_graphics_driver()->list_modes(); }

Ref<TGraphics> NullRenderDriver::wrap_window(const Ref<TObject>& window, int32_t flags)
{
    return wrap_backend(null_graphics_driver()->wrap_window(window, flags),
                        Ref<TRenderDriver>(this));
}

Ref<TGraphics> NullRenderDriver::make_graphics(int32_t width, int32_t height, int32_t depth,
                                               int32_t hertz, int32_t flags)
{
    return wrap_backend(null_graphics_driver()->make_graphics(width, height, depth, hertz, flags),
                        Ref<TRenderDriver>(this));
}

void NullRenderDriver::bind_graphics(const Ref<TGraphics>& g)
{
    target_ = nullptr; // the layer has gone back to the window already
    auto g2d = ref_cast<TGraphics2D>(g);
    NullCall bind = entry(NullOp::Bind);
    if (!g2d) {
        null_graphics_driver()->bind_graphics(nullptr);
        log_.add(std::move(bind));
        return;
    }
    null_graphics_driver()->bind_graphics(g2d->backend);
    bound_texture_ = 0;
    bind.ints[0] = screen_width();
    bind.ints[1] = screen_height();
    log_.add(std::move(bind));
    // Hand the 2-D layer this graphics' state back, as every renderer does.
    use_graphics2d(g2d);
    set_viewport(g2d->viewport_x, g2d->viewport_y, g2d->viewport_width, g2d->viewport_height);
    set_matrix(g2d->ix, g2d->iy, g2d->jx, g2d->jy);
    set_colour(g2d->colour_red, g2d->colour_green, g2d->colour_blue);
    set_alpha(g2d->alpha);
}

void NullRenderDriver::flip(int32_t sync)
{
    NullCall c = entry(NullOp::Flip);
    c.ints[0] = sync;
    log_.add(std::move(c));
    null_graphics_driver()->flip(sync);
}

void NullRenderDriver::submit() { log_.add(entry(NullOp::Submit)); }

NullCall NullRenderDriver::entry(NullOp op) const
{
    NullCall c;
    c.op = op;
    std::copy_n(colour_, 4, c.colour);
    return c;
}

void NullRenderDriver::set_blend(int32_t mode)
{
    NullCall c = entry(NullOp::SetBlend);
    c.ints[0] = mode;
    log_.add(std::move(c));
}

void NullRenderDriver::set_alpha(float alpha)
{
    colour_[3] = alpha_byte(alpha);
    NullCall c = entry(NullOp::SetAlpha);
    c.floats[0] = alpha;
    log_.add(std::move(c));
}

void NullRenderDriver::set_colour(int32_t red, int32_t green, int32_t blue)
{
    colour_[0] = colour_byte(red);
    colour_[1] = colour_byte(green);
    colour_[2] = colour_byte(blue);
    NullCall c = entry(NullOp::SetColour);
    c.ints[0] = red;
    c.ints[1] = green;
    c.ints[2] = blue;
    log_.add(std::move(c));
}

void NullRenderDriver::set_clear_colour(int32_t red, int32_t green, int32_t blue)
{
    clear_colour_[0] = colour_byte(red);
    clear_colour_[1] = colour_byte(green);
    clear_colour_[2] = colour_byte(blue);
    NullCall c = entry(NullOp::SetClearColour);
    c.ints[0] = red;
    c.ints[1] = green;
    c.ints[2] = blue;
    std::copy_n(clear_colour_, 4, c.colour);
    log_.add(std::move(c));
}

void NullRenderDriver::set_viewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    NullCall c = entry(NullOp::SetViewport);
    c.ints[0] = x;
    c.ints[1] = y;
    c.ints[2] = width;
    c.ints[3] = height;
    log_.add(std::move(c));
}

void NullRenderDriver::set_matrix(float ix, float iy, float jx, float jy)
{
    matrix_ = ScreenMatrix{ix, iy, jx, jy};
    NullCall c = entry(NullOp::SetMatrix);
    c.floats[0] = ix;
    c.floats[1] = iy;
    c.floats[2] = jx;
    c.floats[3] = jy;
    log_.add(std::move(c));
}

void NullRenderDriver::set_line_width(float width)
{
    NullCall c = entry(NullOp::SetLineWidth);
    c.floats[0] = width;
    log_.add(std::move(c));
}

void NullRenderDriver::clear()
{
    NullCall c = entry(NullOp::Clear);
    std::copy_n(clear_colour_, 4, c.colour);
    log_.add(std::move(c));
}

template <class Draw>
void NullRenderDriver::shape(uint32_t texture, Draw draw)
{
    if (!log_.recording)
        return;
    NullCall c = entry(NullOp::Shape);
    c.texture = texture;
    RecordingSink sink{c};
    draw(sink);
    log_.add(std::move(c));
}

void NullRenderDriver::plot(float x, float y)
{
    shape(0, [&](RecordingSink& s) { shape::plot(s, x, y); });
}

void NullRenderDriver::stroke_line(float x0, float y0, float x1, float y1, float tx, float ty)
{
    shape(0, [&](RecordingSink& s) { shape::line(s, matrix_, x0, y0, x1, y1, tx, ty); });
}

void NullRenderDriver::fill_rect(float x0, float y0, float x1, float y1, float tx, float ty)
{
    shape(0, [&](RecordingSink& s) { shape::rect(s, matrix_, x0, y0, x1, y1, tx, ty); });
}

void NullRenderDriver::fill_oval(float x0, float y0, float x1, float y1, float tx, float ty)
{
    shape(0, [&](RecordingSink& s) { shape::oval(s, matrix_, x0, y0, x1, y1, tx, ty); });
}

void NullRenderDriver::fill_poly(std::span<const float> coordinates, float hx, float hy,
                                 float tx, float ty)
{
    if (!poly_drawable(coordinates))
        return;
    shape(0, [&](RecordingSink& s) { shape::poly(s, matrix_, coordinates, hx, hy, tx, ty); });
}

void NullRenderDriver::blit_pixmap(const Ref<TPixmap>& pixmap, int32_t x, int32_t y)
{
    NullCall c = entry(NullOp::Blit);
    c.ints[0] = x;
    c.ints[1] = y;
    c.ints[2] = pixmap ? pixmap->width : 0;
    c.ints[3] = pixmap ? pixmap->height : 0;
    log_.add(std::move(c));
}

Ref<TPixmap> NullRenderDriver::read_back_pixmap(int32_t x, int32_t y, int32_t width,
                                                int32_t height)
{
    NullCall c = entry(NullOp::ReadBack);
    c.ints[0] = x;
    c.ints[1] = y;
    c.ints[2] = width;
    c.ints[3] = height;
    log_.add(std::move(c));
    auto p = new_pixmap(width, height, FORMAT_RGBA32, 4);
    if (p->capacity > 0)
        std::fill_n(p->pixels, static_cast<size_t>(p->capacity), uint8_t{0});
    return p;
}

Ref<TImageFrame> NullRenderDriver::create_frame_from_pixmap(const Ref<TPixmap>& pixmap,
                                                            int32_t flags)
{
    const int32_t w = pixmap ? pixmap->width : 0, h = pixmap ? pixmap->height : 0;
    return make_ref<TNullTextureFrame>(new_texture(w, h, flags), w, h);
}

uint32_t NullRenderDriver::new_texture(int32_t width, int32_t height, int32_t flags)
{
    NullCall c = entry(NullOp::CreateTexture);
    c.texture = ++last_texture_;
    c.ints[0] = width;
    c.ints[1] = height;
    c.ints[2] = flags;
    log_.add(std::move(c));
    return last_texture_;
}

void NullRenderDriver::draw_texture(uint32_t texture, float x0, float y0, float x1, float y1,
                                    float tx, float ty)
{
    if (texture != bound_texture_) {
        bound_texture_ = texture;
        NullCall c = entry(NullOp::BindTexture);
        c.texture = texture;
        log_.add(std::move(c));
    }
    shape(texture, [&](RecordingSink& s) {
        shape::textured_rect(s, matrix_, x0, y0, x1, y1, tx, ty, 0, 0, 1, 1);
    });
}

void NullRenderDriver::delete_texture(uint32_t texture)
{
    if (texture == bound_texture_)
        bound_texture_ = 0;
    NullCall c = entry(NullOp::DeleteTexture);
    c.texture = texture;
    log_.add(std::move(c));
}

Ref<NullRenderDriver> null_render_driver()
{
    // Never destroyed: frames may still be released while the process ends.
    static Immortal<Ref<NullRenderDriver>> driver(make_ref<NullRenderDriver>());
    return driver.get();
}

} // namespace vantrel
