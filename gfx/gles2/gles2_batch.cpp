#include "gfx/gles2/gles2_batch.h"

#include "gfx/gles2/gles2_calls.h"
#include "gfx/gles2/gles2_program.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace vantrel {

void Gles2Batch::set_screen(int32_t width, int32_t height)
{
    flush();
    width_ = static_cast<float>(width > 0 ? width : 1);
    height_ = static_cast<float>(height > 0 ? height : 1);
}

void on_subpixel_grid(Gles2Vertex (&triangle)[3])
{
    const Gles2Vertex& a = triangle[0];
    auto from_a = [&](float p, float origin) { return static_cast<double>(p) - origin; };
    const double x1 = from_a(triangle[1].x, a.x), y1 = from_a(triangle[1].y, a.y);
    const double x2 = from_a(triangle[2].x, a.x), y2 = from_a(triangle[2].y, a.y);
    const double det = x1 * y2 - x2 * y1;
    // s = p x + q y + r through the three vertices: {p, q, r}.
    auto plane = [&](double s0, double s1, double s2) {
        const double d1 = s1 - s0, d2 = s2 - s0;
        const double p = (d1 * y2 - d2 * y1) / det, q = (x1 * d2 - x2 * d1) / det;
        return std::array<double, 3>{p, q, s0 - p * a.x - q * a.y};
    };
    // A triangle without area draws nothing; its coordinates can stay.
    const bool flat = std::fabs(det) < 1e-9;
    const auto u = flat ? std::array<double, 3>{} : plane(a.u, triangle[1].u, triangle[2].u);
    const auto v = flat ? std::array<double, 3>{} : plane(a.v, triangle[1].v, triangle[2].v);
    for (Gles2Vertex& vertex : triangle) {
        vertex.x = std::round(vertex.x * SUBPIXELS) / SUBPIXELS;
        vertex.y = std::round(vertex.y * SUBPIXELS) / SUBPIXELS;
        if (flat)
            continue;
        vertex.u = static_cast<float>(u[0] * vertex.x + u[1] * vertex.y + u[2]);
        vertex.v = static_cast<float>(v[0] * vertex.x + v[1] * vertex.y + v[2]);
    }
}

void Gles2Batch::push_triangle(const Gles2Vertex& a, const Gles2Vertex& b, const Gles2Vertex& c)
{
    Gles2Vertex triangle[3] = {a, b, c};
    on_subpixel_grid(triangle);
    vertices_.insert(vertices_.end(), std::begin(triangle), std::end(triangle));
}

void Gles2Batch::rebind_texture() const
{
    if (texture_bound_ != UINT32_MAX)
        gles.glBindTexture(GL_TEXTURE_2D, texture_bound_);
}

int32_t Gles2Batch::take_draw_calls()
{
    const int32_t n = draw_calls_;
    draw_calls_ = 0;
    return n;
}

void Gles2Batch::flush()
{
    if (vertices_.empty())
        return;
    const Gles2Program& program = gles2_program();
    if (buffer_ == 0)
        gles.glGenBuffers(1, &buffer_); // shared by every context of the group
    gles.glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    gles.glBufferData(GL_ARRAY_BUFFER,
                      static_cast<GLsizeiptr>(vertices_.size() * sizeof(Gles2Vertex)),
                      vertices_.data(), GL_STREAM_DRAW);
    constexpr auto stride = static_cast<GLsizei>(sizeof(Gles2Vertex));
    gles.glVertexAttribPointer(ATTRIBUTE_POSITION, 3, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(offsetof(Gles2Vertex, x)));
    gles.glVertexAttribPointer(ATTRIBUTE_UV, 2, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(offsetof(Gles2Vertex, u)));
    gles.glVertexAttribPointer(ATTRIBUTE_COLOUR, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                               reinterpret_cast<const void*>(offsetof(Gles2Vertex, rgba)));
    for (GLuint a : {ATTRIBUTE_POSITION, ATTRIBUTE_UV, ATTRIBUTE_COLOUR})
        gles.glEnableVertexAttribArray(a);
    gles.glUniform2f(program.screen, width_, height_);
    gles.glUniform1f(program.threshold, key_.threshold);
    gles.glUniform1f(program.premultiplied, key_.premultiplied ? 1.0f : 0.0f);
    gles.glUniform1f(program.texturing, key_.texture != 0 ? 1.0f : 0.0f);
    if (key_.texture != 0 && key_.texture != texture_bound_) {
        gles.glBindTexture(GL_TEXTURE_2D, key_.texture);
        texture_bound_ = key_.texture;
    }
    gles.glDrawArrays(key_.mode, 0, static_cast<GLsizei>(vertices_.size()));
    ++draw_calls_;
    vertices_.clear();
}

} // namespace vantrel
