// Gles2RenderDriver's drawing operations: the renderer rules' shapes turned
// into batched triangles, points and lines, textured primitives, pixmap
// blits and read-back.
#include "gfx/gles2/gles2_render_driver.h"

#include "assets/pixmap.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gles2/gles2_calls.h"
#include "gfx/gles2/gles2_texture_frame.h"
#include "gfx/graphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vantrel {
namespace {

struct Gles2Sink {
    Gles2RenderDriver& renderer;
    uint32_t texture = 0;
    void begin(Primitive p) { renderer.begin_shape(p, texture); }
    void vertex(float x, float y) { renderer.shape_vertex(x, y, 0, 0); }
    void vertex(float x, float y, float u, float v) { renderer.shape_vertex(x, y, u, v); }
    void end() { renderer.end_shape(); }
};

Gles2Vertex moved(Gles2Vertex v, float dx, float dy)
{
    v.x += dx;
    v.y += dy;
    return v;
}

} // namespace

Gles2Vertex Gles2RenderDriver::at(float x, float y, float u, float v) const
{
    Gles2Vertex vertex{.x = x, .y = y, .z = 0, .u = u, .v = v};
    std::copy_n(current_, 4, vertex.rgba);
    return vertex;
}

void Gles2RenderDriver::use(GLenum mode, uint32_t texture)
{
    batch_.use(Gles2BatchKey{.mode = mode,
                             .texture = texture,
                             .threshold = threshold_,
                             .premultiplied = premultiplied_});
}

void Gles2RenderDriver::begin_shape(Primitive primitive, uint32_t texture)
{
    primitive_ = primitive;
    shape_texture_ = texture;
    pending_.clear();
}

void Gles2RenderDriver::shape_vertex(float x, float y, float u, float v)
{
    pending_.push_back(at(x, y, u, v));
}

// A line of one pixel is the rasteriser's own; a wider one is the quad the
// width sweeps across the line's major axis, its ends moved back half a
// pixel so the last pixel stays undrawn as it does for thin lines.
void Gles2RenderDriver::emit_line(const Gles2Vertex& a, const Gles2Vertex& b)
{
    const float width = std::max(1.0f, std::round(line_width_));
    if (width <= 1.0f) {
        use(GL_LINES, shape_texture_);
        emit(a);
        emit(b);
        return;
    }
    use(GL_TRIANGLES, shape_texture_);
    const float half = width * 0.5f;
    const bool x_major = std::fabs(b.x - a.x) > std::fabs(b.y - a.y);
    const float back = x_major ? (b.x >= a.x ? -0.5f : 0.5f) : (b.y >= a.y ? -0.5f : 0.5f);
    const float sx = x_major ? back : half, sy = x_major ? half : back;
    const Gles2Vertex a0 = x_major ? moved(a, sx, -sy) : moved(a, -sx, sy);
    const Gles2Vertex b0 = x_major ? moved(b, sx, -sy) : moved(b, -sx, sy);
    const Gles2Vertex a1 = moved(a, sx, sy), b1 = moved(b, sx, sy);
    batch_.push_triangle(a0, a1, b1);
    batch_.push_triangle(a0, b1, b0);
}

// A fan from the first vertex, or a strip.
void Gles2RenderDriver::end_triangles(bool strip)
{
    use(GL_TRIANGLES, shape_texture_);
    for (size_t i = 2; i < pending_.size(); ++i)
        batch_.push_triangle(pending_[strip ? i - 2 : 0], pending_[i - 1], pending_[i]);
}

void Gles2RenderDriver::end_shape()
{
    switch (primitive_) {
    case Primitive::Points:
        use(GL_POINTS, shape_texture_);
        for (const Gles2Vertex& v : pending_)
            emit(v);
        break;
    case Primitive::Lines:
        for (size_t i = 0; i + 1 < pending_.size(); i += 2)
            emit_line(pending_[i], pending_[i + 1]);
        break;
    case Primitive::Quads:
        use(GL_TRIANGLES, shape_texture_);
        for (size_t i = 0; i + 3 < pending_.size(); i += 4) {
            batch_.push_triangle(pending_[i], pending_[i + 1], pending_[i + 3]);
            batch_.push_triangle(pending_[i + 1], pending_[i + 2], pending_[i + 3]);
        }
        break;
    case Primitive::Polygon:
        end_triangles(false);
        break;
    }
    pending_.clear();
}

void Gles2RenderDriver::clear()
{
    flush();
    gles.glClear(GL_COLOR_BUFFER_BIT);
}

void Gles2RenderDriver::plot(float x, float y)
{
    Gles2Sink sink{*this};
    shape::plot(sink, x, y);
}

void Gles2RenderDriver::stroke_line(float x0, float y0, float x1, float y1, float tx, float ty)
{
    Gles2Sink sink{*this};
    shape::line(sink, matrix_, x0, y0, x1, y1, tx, ty);
}

void Gles2RenderDriver::fill_rect(float x0, float y0, float x1, float y1, float tx, float ty)
{
    Gles2Sink sink{*this};
    shape::rect(sink, matrix_, x0, y0, x1, y1, tx, ty);
}

void Gles2RenderDriver::fill_oval(float x0, float y0, float x1, float y1, float tx, float ty)
{
    Gles2Sink sink{*this};
    shape::oval(sink, matrix_, x0, y0, x1, y1, tx, ty);
}

void Gles2RenderDriver::fill_poly(std::span<const float> coordinates, float hx, float hy,
                                  float tx, float ty)
{
    if (!poly_drawable(coordinates))
        return;
    Gles2Sink sink{*this};
    shape::poly(sink, matrix_, coordinates, hx, hy, tx, ty);
}

void Gles2RenderDriver::draw_frame(uint32_t texture, float x0, float y0, float x1, float y1,
                                   float tx, float ty, const float uv[4])
{
    Gles2Sink sink{*this, texture};
    shape::textured_rect(sink, matrix_, x0, y0, x1, y1, tx, ty, uv[0], uv[1], uv[2], uv[3]);
}

void Gles2RenderDriver::bind_textured_frame(const Ref<TImageFrame>& frame)
{
    // A frame of another renderer is the null object here, which raises.
    auto es_frame = ref_cast<TGles2TextureFrame>(frame);
    textured_frame_ = es_frame->texture;
}

void Gles2RenderDriver::begin_textured(TexturedPrimitive primitive)
{
    textured_primitive_ = primitive;
    shape_texture_ = textured_frame_;
    pending_.clear();
}

void Gles2RenderDriver::textured_vertex(const TexturedVertex& vertex)
{
    Gles2Vertex v{.x = vertex.x, .y = vertex.y, .z = vertex.z, .u = vertex.u, .v = vertex.v};
    std::copy_n(vertex.rgba, 4, v.rgba);
    std::copy_n(vertex.rgba, 4, current_);
    pending_.push_back(v);
}

void Gles2RenderDriver::end_textured()
{
    end_triangles(textured_primitive_ == TexturedPrimitive::TriangleStrip);
    pending_.clear();
}

// The pixels go through the pipeline as drawn pixels do there: blended and
// masked, not coloured, and not at all when (x, y) is outside the frame.
void Gles2RenderDriver::blit_pixmap(const Ref<TPixmap>& pixmap, int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x > screen_width() || y > screen_height() || pixmap->width <= 0 ||
        pixmap->height <= 0)
        return;
    flush();
    const GLuint texture = upload_picture(pixmap);
    const uint8_t keep[4] = {current_[0], current_[1], current_[2], current_[3]};
    std::fill_n(current_, 4, uint8_t{255});
    Gles2Sink sink{*this, texture};
    const ScreenMatrix identity{1, 0, 0, 1};
    shape::textured_rect(sink, identity, 0, 0, static_cast<float>(pixmap->width),
                         static_cast<float>(pixmap->height), static_cast<float>(x),
                         static_cast<float>(y), 0, 0, 1, 1);
    flush();
    std::copy_n(keep, 4, current_);
    batch_.forget_texture(texture);
    gles.glDeleteTextures(1, &texture);
}

Ref<TPixmap> Gles2RenderDriver::read_back_pixmap(int32_t x, int32_t y, int32_t width,
                                                 int32_t height)
{
    auto p = new_pixmap(width, height, FORMAT_RGBA32, 4);
    if (width <= 0 || height <= 0)
        return p;
    flush();
    // ES counts rows from the bottom: read upside down, store top first.
    std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 4);
    gles.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    const int32_t bottom = gles2_graphics_driver()->frame_base_y() + screen_height() - y - height;
    gles.glReadPixels(x, bottom, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    const size_t row_bytes = static_cast<size_t>(width) * 4;
    for (int32_t row = 0; row < height; ++row)
        std::memcpy(p->pixel_ptr(0, row), &rows[(height - 1 - row) * row_bytes], row_bytes);
    return p;
}

} // namespace vantrel
