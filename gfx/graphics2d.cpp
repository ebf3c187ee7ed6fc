// TGraphics2D, the current drawing state and its setters.
#include "gfx/graphics2d.h"

#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/immortal.h"

#include <cmath>

namespace vantrel {
namespace {

// Held without destruction at exit: the exit action that closes the graphics
// and the texture releases of images may still run after static destructors.
Ref<TGraphics2D>& current_g2d()
{
    static Immortal<Ref<TGraphics2D>> g;
    return g.get();
}

Ref<TRenderDriver>& current_r()
{
    static Immortal<Ref<TRenderDriver>> r;
    return r.get();
}

void update_transform(TGraphics2D& g)
{
    const double radians = static_cast<double>(g.rotation) * (3.14159265358979323846 / 180.0);
    const double sin_r = std::sin(radians), cos_r = std::cos(radians);
    g.ix = static_cast<float>(cos_r * g.scale_x);
    g.iy = static_cast<float>(-sin_r * g.scale_y);
    g.jx = static_cast<float>(sin_r * g.scale_x);
    g.jy = static_cast<float>(cos_r * g.scale_y);
    g.renderer->set_matrix(g.ix, g.iy, g.jx, g.jy);
}

void apply_initial_state()
{
    set_blend_mode(BLEND_MASK);
    set_colour(255, 255, 255);
    set_clear_colour(0, 0, 0);
    set_mask_colour(0, 0, 0);
    set_alpha(1.0f);
    set_origin(0, 0);
    set_handle(0, 0);
    set_viewport(0, 0, screen_width(), screen_height());
    set_transform(0, 1, 1);
    set_line_width(1.0f);
    set_auto_centre_handle(0);
    set_default_image_flags(IMAGE_MASKED | IMAGE_FILTERED);
    select_font(nullptr);
}

} // namespace

TGraphics2D::TGraphics2D(Ref<TGraphics> backend_graphics, Ref<TRenderDriver> made_by)
    : backend(std::move(backend_graphics)), renderer(std::move(made_by))
{
}

TGraphics2D::~TGraphics2D() = default;

Ref<TDisplayDriver> TGraphics2D::driver() { return renderer; }

void TGraphics2D::get_settings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                               int32_t& flags)
{
    if (backend) {
        backend->get_settings(width, height, depth, hertz, flags);
        return;
    }
    width = height = depth = hertz = flags = 0;
}

void TGraphics2D::close()
{
    if (backend)
        backend->close();
    backend.reset();
    renderer.reset();
}

void use_graphics2d(const Ref<TGraphics>& g)
{
    auto g2d = ref_cast<TGraphics2D>(g);
    if (!g2d || !g2d->renderer) {
        current_g2d().reset();
        current_r().reset();
        return;
    }
    current_g2d() = g2d;
    current_r() = g2d->renderer;
    if (g2d->initialised)
        return;
    default_font();
    apply_initial_state();
    clear_screen();
    flip_frame(0);
    clear_screen();
    flip_frame(0);
    g2d->initialised = 1;
}

Ref<TGraphics2D> current_graphics2d() { return current_g2d(); }
Ref<TRenderDriver> current_renderer() { return current_r(); }

void set_colour(int32_t red, int32_t green, int32_t blue)
{
    auto& g = *current_g2d();
    g.colour_red = red;
    g.colour_green = green;
    g.colour_blue = blue;
    g.renderer->set_colour(red, green, blue);
}

void get_colour(int32_t& red, int32_t& green, int32_t& blue)
{
    auto& g = *current_g2d();
    red = g.colour_red;
    green = g.colour_green;
    blue = g.colour_blue;
}

void set_alpha(float alpha)
{
    auto& g = *current_g2d();
    g.alpha = alpha;
    g.renderer->set_alpha(alpha);
}

float get_alpha() { return current_g2d()->alpha; }

void set_blend_mode(int32_t mode)
{
    auto& g = *current_g2d();
    g.blend_mode = mode;
    g.renderer->set_blend(mode);
}

int32_t get_blend_mode() { return current_g2d()->blend_mode; }

void set_clear_colour(int32_t red, int32_t green, int32_t blue)
{
    auto& g = *current_g2d();
    g.clear_red = red;
    g.clear_green = green;
    g.clear_blue = blue;
    g.renderer->set_clear_colour(red, green, blue);
}

void get_clear_colour(int32_t& red, int32_t& green, int32_t& blue)
{
    auto& g = *current_g2d();
    red = g.clear_red;
    green = g.clear_green;
    blue = g.clear_blue;
}

void set_line_width(float width)
{
    auto& g = *current_g2d();
    g.line_width = width;
    g.renderer->set_line_width(width);
}

float get_line_width() { return current_g2d()->line_width; }

void set_rotation(float degrees)
{
    auto& g = *current_g2d();
    g.rotation = degrees;
    update_transform(g);
}

float get_rotation() { return current_g2d()->rotation; }

void set_scale(float x, float y)
{
    auto& g = *current_g2d();
    g.scale_x = x;
    g.scale_y = y;
    update_transform(g);
}

void get_scale(float& x, float& y)
{
    auto& g = *current_g2d();
    x = g.scale_x;
    y = g.scale_y;
}

void set_transform(float degrees, float scale_x, float scale_y)
{
    auto& g = *current_g2d();
    g.rotation = degrees;
    g.scale_x = scale_x;
    g.scale_y = scale_y;
    update_transform(g);
}

void set_origin(float x, float y)
{
    auto& g = *current_g2d();
    g.origin_x = x;
    g.origin_y = y;
}

void get_origin(float& x, float& y)
{
    auto& g = *current_g2d();
    x = g.origin_x;
    y = g.origin_y;
}

void set_handle(float x, float y)
{
    auto& g = *current_g2d();
    g.handle_x = -x;
    g.handle_y = -y;
}

void get_handle(float& x, float& y)
{
    auto& g = *current_g2d();
    x = g.handle_x;
    y = g.handle_y;
}

void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    auto& g = *current_g2d();
    g.viewport_x = x;
    g.viewport_y = y;
    g.viewport_width = width;
    g.viewport_height = height;
    g.renderer->set_viewport(x, y, width, height);
}

void get_viewport(int32_t& x, int32_t& y, int32_t& width, int32_t& height)
{
    auto& g = *current_g2d();
    x = g.viewport_x;
    y = g.viewport_y;
    width = g.viewport_width;
    height = g.viewport_height;
}

void select_font(const Ref<TGlyphFont>& font)
{
    current_g2d()->image_font = font ? font : default_font();
}

Ref<TGlyphFont> current_font() { return current_g2d()->image_font; }

} // namespace vantrel
