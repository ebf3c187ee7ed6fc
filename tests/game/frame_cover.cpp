#include "frame_cover.h"

#include "gfx/render_driver.h"

#include <algorithm>
#include <cmath>

namespace vantrel::test {

const std::array<std::string_view, COVER_KINDS> COVER_KIND_NAMES = {
    "island (textured quad)", "clouds (textured quads, additive)", "points (specks, eye)",
    "lines 1 px", "lines 3 px (quads)", "ovals (body, head)", "rectangles (wind bar)",
    "wings (textured polygons)"};

namespace {

// Half a pixel's diagonal: a pixel whose centre is this near a shape's
// edge has its square touching the shape.
constexpr float TOUCH = 0.7072f;

float cross(float ax, float ay, float bx, float by) { return ax * by - ay * bx; }

float segment_distance(float px, float py, float ax, float ay, float bx, float by)
{
    const float dx = bx - ax, dy = by - ay;
    const float length2 = dx * dx + dy * dy;
    float t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

} // namespace

FrameCover::FrameCover(int32_t width, int32_t height)
    : width_(width), height_(height), top_(static_cast<size_t>(width) * height),
      mask_(top_.size())
{
}

void FrameCover::cover(int32_t x, int32_t y, CoverKind kind)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    const size_t i = static_cast<size_t>(y) * width_ + x;
    top_[i] = static_cast<uint8_t>(static_cast<int>(kind) + 1);
    mask_[i] |= static_cast<uint8_t>(1u << static_cast<int>(kind));
}

void FrameCover::cover_triangle(Point a, Point b, Point c, CoverKind kind)
{
    const float area = cross(b.x - a.x, b.y - a.y, c.x - a.x, c.y - a.y);
    const auto x0 = static_cast<int32_t>(std::floor(std::min({a.x, b.x, c.x}) - 1));
    const auto x1 = static_cast<int32_t>(std::ceil(std::max({a.x, b.x, c.x}) + 1));
    const auto y0 = static_cast<int32_t>(std::floor(std::min({a.y, b.y, c.y}) - 1));
    const auto y1 = static_cast<int32_t>(std::ceil(std::max({a.y, b.y, c.y}) + 1));
    for (int32_t y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y)
        for (int32_t x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            bool in = false;
            if (area != 0) {
                const float s = area > 0 ? 1.0f : -1.0f;
                in = s * cross(b.x - a.x, b.y - a.y, px - a.x, py - a.y) >= 0 &&
                     s * cross(c.x - b.x, c.y - b.y, px - b.x, py - b.y) >= 0 &&
                     s * cross(a.x - c.x, a.y - c.y, px - c.x, py - c.y) >= 0;
            }
            in = in || segment_distance(px, py, a.x, a.y, b.x, b.y) <= TOUCH ||
                 segment_distance(px, py, b.x, b.y, c.x, c.y) <= TOUCH ||
                 segment_distance(px, py, c.x, c.y, a.x, a.y) <= TOUCH;
            if (in)
                cover(x, y, kind);
        }
}

void FrameCover::cover_segment(Point a, Point b, float width, CoverKind kind)
{
    const float reach = width * 0.5f + 0.5f;
    const auto x0 = static_cast<int32_t>(std::floor(std::min(a.x, b.x) - reach - 1));
    const auto x1 = static_cast<int32_t>(std::ceil(std::max(a.x, b.x) + reach + 1));
    const auto y0 = static_cast<int32_t>(std::floor(std::min(a.y, b.y) - reach - 1));
    const auto y1 = static_cast<int32_t>(std::ceil(std::max(a.y, b.y) + reach + 1));
    for (int32_t y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y)
        for (int32_t x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x)
            if (segment_distance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, a.x,
                                 a.y, b.x, b.y) <= reach)
                cover(x, y, kind);
}

void FrameCover::cover_fan(const std::vector<NullVertex>& v, bool strip, CoverKind kind)
{
    for (size_t i = 2; i < v.size(); ++i) {
        const NullVertex& a = v[strip ? i - 2 : 0];
        cover_triangle({a.x, a.y}, {v[i - 1].x, v[i - 1].y}, {v[i].x, v[i].y}, kind);
    }
}

CoverKind FrameCover::image_kind(uint32_t texture) const
{
    const auto it = texture_width_.find(texture);
    return it != texture_width_.end() && it->second >= 512 ? CoverKind::Island : CoverKind::Clouds;
}

void FrameCover::shape(const NullCall& call)
{
    const std::vector<NullVertex>& v = call.vertices;
    switch (call.primitive) {
    case Primitive::Points:
        for (const NullVertex& p : v)
            cover(static_cast<int32_t>(std::floor(p.x)), static_cast<int32_t>(std::floor(p.y)),
                  CoverKind::Points);
        break;
    case Primitive::Lines: {
        const float width = std::max(1.0f, std::round(line_width_));
        const CoverKind kind = width > 1 ? CoverKind::WideLines : CoverKind::ThinLines;
        for (size_t i = 0; i + 1 < v.size(); i += 2)
            cover_segment({v[i].x, v[i].y}, {v[i + 1].x, v[i + 1].y}, width, kind);
        break;
    }
    case Primitive::Quads: {
        const CoverKind kind = call.texture ? image_kind(call.texture) : CoverKind::Rects;
        for (size_t i = 0; i + 3 < v.size(); i += 4) {
            const Point p[4] = {{v[i].x, v[i].y}, {v[i + 1].x, v[i + 1].y},
                                {v[i + 2].x, v[i + 2].y}, {v[i + 3].x, v[i + 3].y}};
            cover_triangle(p[0], p[1], p[3], kind);
            cover_triangle(p[1], p[2], p[3], kind);
        }
        break;
    }
    case Primitive::Polygon:
        cover_fan(v, false, call.texture ? image_kind(call.texture) : CoverKind::Ovals);
        break;
    }
}

void FrameCover::add(const NullCall& call)
{
    switch (call.op) {
    case NullOp::Clear:
        std::fill(top_.begin(), top_.end(), 0);
        std::fill(mask_.begin(), mask_.end(), 0);
        break;
    case NullOp::SetLineWidth:
        line_width_ = call.floats[0];
        break;
    case NullOp::CreateTexture:
        texture_width_[call.texture] = call.ints[0];
        break;
    case NullOp::Shape:
        if (covering_)
            shape(call);
        break;
    case NullOp::TexturedBegin:
        textured_.clear();
        textured_strip_ = call.ints[0] == static_cast<int32_t>(TexturedPrimitive::TriangleStrip);
        break;
    case NullOp::TexturedVertex:
        textured_.push_back(call.vertices.at(0));
        break;
    case NullOp::TexturedEnd:
        if (covering_)
            cover_fan(textured_, textured_strip_, CoverKind::Wings);
        textured_.clear();
        break;
    default:
        break;
    }
}

} // namespace vantrel::test
