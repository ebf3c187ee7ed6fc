// GLRenderDriver's drawing operations: immediate-mode shapes with the matrix
// applied on the processor, plus pixmap blits and read-back.
#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_graphics_driver.h"

#include "assets/pixmap.h"
#include "gfx/graphics.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdlib>

namespace vantrel {
namespace {

// |xr| + |yr| segments, at least 12, rounded down to a multiple of 4.
int32_t oval_segments(float xr, float yr)
{
    auto n = static_cast<int32_t>(std::fabs(xr) + std::fabs(yr));
    if (n < 12)
        n = 12;
    return n & ~3;
}

} // namespace

// Lines and points sit on pixel centres; filled shapes on pixel corners.
void GLRenderDriver::vertex(float u, float v, float tx, float ty, float offset)
{
    glVertex2f(screen_x(u, v, tx) + offset, screen_y(u, v, ty) + offset);
}

void GLRenderDriver::clear() { glClear(GL_COLOR_BUFFER_BIT); }

void GLRenderDriver::plot(float x, float y)
{
    disable_texture();
    glBegin(GL_POINTS);
    glVertex2f(x + 0.5f, y + 0.5f);
    glEnd();
}

void GLRenderDriver::stroke_line(float x0, float y0, float x1, float y1, float tx, float ty)
{
    disable_texture();
    glBegin(GL_LINES);
    vertex(x0, y0, tx, ty, 0.5f);
    vertex(x1, y1, tx, ty, 0.5f);
    glEnd();
}

void GLRenderDriver::fill_rect(float x0, float y0, float x1, float y1, float tx, float ty)
{
    disable_texture();
    glBegin(GL_QUADS);
    vertex(x0, y0, tx, ty, 0.0f);
    vertex(x1, y0, tx, ty, 0.0f);
    vertex(x1, y1, tx, ty, 0.0f);
    vertex(x0, y1, tx, ty, 0.0f);
    glEnd();
}

void GLRenderDriver::fill_oval(float x0, float y0, float x1, float y1, float tx, float ty)
{
    const float xr = (x1 - x0) * 0.5f, yr = (y1 - y0) * 0.5f;
    const float cx = x0 + xr, cy = y0 + yr;
    const int32_t n = oval_segments(xr, yr);
    constexpr double radians_per_degree = 3.14159265358979323846 / 180.0;
    disable_texture();
    glBegin(GL_POLYGON);
    for (int32_t i = 0; i < n; ++i) {
        const float degrees = static_cast<float>(i) * 360.0f / static_cast<float>(n);
        const double a = degrees * radians_per_degree;
        vertex(cx + static_cast<float>(std::cos(a)) * xr, cy - static_cast<float>(std::sin(a)) * yr,
               tx, ty, 0.0f);
    }
    glEnd();
}

void GLRenderDriver::fill_poly(std::span<const float> coordinates, float hx, float hy, float tx,
                               float ty)
{
    if (coordinates.size() < 6 || coordinates.size() % 2 != 0)
        return;
    disable_texture();
    glBegin(GL_POLYGON);
    for (size_t i = 0; i < coordinates.size(); i += 2)
        vertex(coordinates[i] + hx, coordinates[i + 1] + hy, tx, ty, 0.0f);
    glEnd();
}

void GLRenderDriver::blit_pixmap(const Ref<TPixmap>& pixmap, int32_t x, int32_t y)
{
    const Ref<TPixmap> p =
        pixmap->format == FORMAT_RGBA32 ? pixmap : pixmap->convert(FORMAT_RGBA32);
    disable_texture();
    // Rows go downwards from the raster position, as the pixmap stores them.
    glRasterPos2i(x, y);
    glPixelZoom(1.0f, -1.0f);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, p->pitch / 4);
    glDrawPixels(p->width, p->height, GL_RGBA, GL_UNSIGNED_BYTE, p->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelZoom(1.0f, 1.0f);
}

Ref<TPixmap> GLRenderDriver::read_back_pixmap(int32_t x, int32_t y, int32_t width, int32_t height)
{
    auto p = new_pixmap(width, height, FORMAT_RGBA32, 4);
    if (width <= 0 || height <= 0)
        return p;
    // OpenGL counts rows from the bottom: read upside down, store top first.
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    const int32_t bottom = gl_graphics_driver()->frame_base_y() + screen_height() - y - height;
    for (int32_t row = 0; row < height; ++row)
        glReadPixels(x, bottom + height - 1 - row, width, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     p->pixel_ptr(0, row));
    return p;
}

} // namespace vantrel
