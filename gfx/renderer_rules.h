// What every renderer does alike: the bytes a colour is drawn with and the
// screen vertices of each shape.
//
// The 2-D layer hands a renderer a shape as a local rectangle (or point
// list) plus a translation; these rules turn it into the primitive and
// screen vertices to draw, so the OpenGL renderer and the null renderer,
// which records them, cannot drift apart. A shape goes to a sink with
// begin(Primitive), vertex(x, y) or vertex(x, y, u, v) (textured), end().
// Lines and points sit on pixel centres, filled shapes on pixel corners.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vantrel {

enum class Primitive : int32_t { Points, Lines, Quads, Polygon };

// Colour channels are clamped to 0..255 when applied and stored unclamped.
inline uint8_t colour_byte(int32_t channel)
{
    return static_cast<uint8_t>(channel < 0 ? 0 : (channel > 255 ? 255 : channel));
}

// Alpha above 1 counts as 1, below 0 (and NaN) as 0; truncated to its byte.
inline uint8_t alpha_byte(float alpha)
{
    float a = alpha > 1.0f ? 1.0f : alpha;
    if (!(a >= 0.0f))
        a = 0.0f;
    return static_cast<uint8_t>(a * 255.0f);
}

// The drawing state's 2 x 2 matrix: local (u, v) turned and scaled, then
// moved by (tx, ty).
struct ScreenMatrix {
    float ix = 0, iy = 0, jx = 0, jy = 0;
    float x(float u, float v, float tx) const { return u * ix + v * iy + tx; }
    float y(float u, float v, float ty) const { return u * jx + v * jy + ty; }
};

// An ellipse has |xr| + |yr| segments, at least 12, rounded down to a
// multiple of 4.
inline int32_t oval_segments(float xr, float yr)
{
    auto n = static_cast<int32_t>(std::fabs(xr) + std::fabs(yr));
    if (n < 12)
        n = 12;
    return n & ~3;
}

// A polygon needs three points and whole x, y pairs; anything else draws
// nothing.
inline bool poly_drawable(std::span<const float> coordinates)
{
    return coordinates.size() >= 6 && coordinates.size() % 2 == 0;
}

namespace shape {

template <class Sink>
void transformed(Sink& sink, const ScreenMatrix& m, float u, float v, float tx, float ty,
                 float offset)
{
    sink.vertex(m.x(u, v, tx) + offset, m.y(u, v, ty) + offset);
}

// A point lights one pixel whatever the matrix.
template <class Sink>
void plot(Sink& sink, float x, float y)
{
    sink.begin(Primitive::Points);
    sink.vertex(x + 0.5f, y + 0.5f);
    sink.end();
}

template <class Sink>
void line(Sink& sink, const ScreenMatrix& m, float x0, float y0, float x1, float y1, float tx,
          float ty)
{
    sink.begin(Primitive::Lines);
    transformed(sink, m, x0, y0, tx, ty, 0.5f);
    transformed(sink, m, x1, y1, tx, ty, 0.5f);
    sink.end();
}

template <class Sink>
void rect(Sink& sink, const ScreenMatrix& m, float x0, float y0, float x1, float y1, float tx,
          float ty)
{
    sink.begin(Primitive::Quads);
    transformed(sink, m, x0, y0, tx, ty, 0.0f);
    transformed(sink, m, x1, y0, tx, ty, 0.0f);
    transformed(sink, m, x1, y1, tx, ty, 0.0f);
    transformed(sink, m, x0, y1, tx, ty, 0.0f);
    sink.end();
}

// Counter-clockwise on screen from the rightmost point.
template <class Sink>
void oval(Sink& sink, const ScreenMatrix& m, float x0, float y0, float x1, float y1, float tx,
          float ty)
{
    const float xr = (x1 - x0) * 0.5f, yr = (y1 - y0) * 0.5f;
    const float cx = x0 + xr, cy = y0 + yr;
    const int32_t n = oval_segments(xr, yr);
    constexpr double radians_per_degree = 3.14159265358979323846 / 180.0;
    sink.begin(Primitive::Polygon);
    for (int32_t i = 0; i < n; ++i) {
        const float degrees = static_cast<float>(i) * 360.0f / static_cast<float>(n);
        const double a = degrees * radians_per_degree;
        transformed(sink, m, cx + static_cast<float>(std::cos(a)) * xr,
                    cy - static_cast<float>(std::sin(a)) * yr, tx, ty, 0.0f);
    }
    sink.end();
}

// Each point (x + hx, y + hy); the caller has checked poly_drawable.
template <class Sink>
void poly(Sink& sink, const ScreenMatrix& m, std::span<const float> coordinates, float hx,
          float hy, float tx, float ty)
{
    sink.begin(Primitive::Polygon);
    for (size_t i = 0; i < coordinates.size(); i += 2)
        transformed(sink, m, coordinates[i] + hx, coordinates[i + 1] + hy, tx, ty, 0.0f);
    sink.end();
}

// An image frame over the local rectangle, its texture's picture spanning
// (u0, v0)-(u1, v1).
template <class Sink>
void textured_rect(Sink& sink, const ScreenMatrix& m, float x0, float y0, float x1, float y1,
                   float tx, float ty, float u0, float v0, float u1, float v1)
{
    sink.begin(Primitive::Quads);
    sink.vertex(m.x(x0, y0, tx), m.y(x0, y0, ty), u0, v0);
    sink.vertex(m.x(x1, y0, tx), m.y(x1, y0, ty), u1, v0);
    sink.vertex(m.x(x1, y1, tx), m.y(x1, y1, ty), u1, v1);
    sink.vertex(m.x(x0, y1, tx), m.y(x0, y1, ty), u0, v1);
    sink.end();
}

} // namespace shape
} // namespace vantrel
