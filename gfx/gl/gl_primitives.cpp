// GLRenderDriver's drawing operations: immediate-mode shapes with the matrix
// applied on the processor (gfx/renderer_rules.h), plus pixmap blits and
// read-back.
#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_shape_sink.h"

#include "assets/pixmap.h"
#include "gfx/graphics.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace vantrel {

void GLRenderDriver::clear() { glClear(GL_COLOR_BUFFER_BIT); }

void GLRenderDriver::plot(float x, float y)
{
    disable_texture();
    GLShapeSink sink;
    shape::plot(sink, x, y);
}

void GLRenderDriver::stroke_line(float x0, float y0, float x1, float y1, float tx, float ty)
{
    disable_texture();
    GLShapeSink sink;
    shape::line(sink, matrix_, x0, y0, x1, y1, tx, ty);
}

void GLRenderDriver::fill_rect(float x0, float y0, float x1, float y1, float tx, float ty)
{
    disable_texture();
    GLShapeSink sink;
    shape::rect(sink, matrix_, x0, y0, x1, y1, tx, ty);
}

void GLRenderDriver::fill_oval(float x0, float y0, float x1, float y1, float tx, float ty)
{
    disable_texture();
    GLShapeSink sink;
    shape::oval(sink, matrix_, x0, y0, x1, y1, tx, ty);
}

void GLRenderDriver::fill_poly(std::span<const float> coordinates, float hx, float hy, float tx,
                               float ty)
{
    if (!poly_drawable(coordinates))
        return;
    disable_texture();
    GLShapeSink sink;
    shape::poly(sink, matrix_, coordinates, hx, hy, tx, ty);
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
    glReadBuffer(render_frame() ? GL_COLOR_ATTACHMENT0 : GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    const int32_t bottom = gl_graphics_driver()->frame_base_y() + screen_height() - y - height;
    for (int32_t row = 0; row < height; ++row)
        glReadPixels(x, bottom + height - 1 - row, width, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     p->pixel_ptr(0, row));
    return p;
}

} // namespace vantrel
