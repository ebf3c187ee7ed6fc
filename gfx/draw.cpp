// The drawing operations of the 2-D layer: the state's origin and handle
// applied, the shape handed to the current renderer.
#include "gfx/draw.h"

#include "gfx/graphics2d.h"
#include "gfx/image.h"

namespace vantrel {

void clear_screen() { current_renderer()->clear(); }

void plot_point(float x, float y)
{
    auto g = current_graphics2d();
    g->renderer->plot(x + g->origin_x, y + g->origin_y);
}

void draw_line(float x1, float y1, float x2, float y2, int32_t last)
{
    auto g = current_graphics2d();
    const float hx = g->handle_x, hy = g->handle_y;
    const float tx = x1 + g->origin_x, ty = y1 + g->origin_y;
    const float ex = hx + x2 - x1, ey = hy + y2 - y1;
    g->renderer->stroke_line(hx, hy, ex, ey, tx, ty);
    if (last != 0)
        g->renderer->plot(ex * g->ix + ey * g->iy + tx, ex * g->jx + ey * g->jy + ty);
}

void draw_rect(float x, float y, float width, float height)
{
    auto g = current_graphics2d();
    const float hx = g->handle_x, hy = g->handle_y;
    g->renderer->fill_rect(hx, hy, hx + width, hy + height, x + g->origin_x, y + g->origin_y);
}

void draw_oval(float x, float y, float width, float height)
{
    auto g = current_graphics2d();
    const float hx = g->handle_x, hy = g->handle_y;
    g->renderer->fill_oval(hx, hy, hx + width, hy + height, x + g->origin_x, y + g->origin_y);
}

void draw_poly(std::span<const float> coordinates, float x, float y)
{
    auto g = current_graphics2d();
    g->renderer->fill_poly(coordinates, g->handle_x, g->handle_y, x + g->origin_x,
                           y + g->origin_y);
}

void draw_image(const Ref<TImage>& image, float x, float y, int32_t frame)
{
    auto g = current_graphics2d();
    const float x0 = -image->handle_x, y0 = -image->handle_y;
    const float x1 = x0 + static_cast<float>(image->width);
    const float y1 = y0 + static_cast<float>(image->height);
    image->frame(frame)->draw(x0, y0, x1, y1, x + g->origin_x, y + g->origin_y);
}

} // namespace vantrel
