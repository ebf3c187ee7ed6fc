// Image collision tests: the screen pixels two shapes share, walked row by
// row over the overlap of their bounding boxes, stopping at the first pixel
// both draw.
#include "gfx/image_collision.h"

#include "gfx/image_coverage.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

using collision_detail::Coverage;
using collision_detail::PixelBox;

namespace {

// Each row only where every coverage can draw.
template <typename Drawn, typename... Covers>
bool any_pixel(const PixelBox& box, Drawn&& drawn, const Covers&... covers)
{
    for (int32_t py = box.y0; py < box.y1; ++py) {
        int32_t x0 = box.x0, x1 = box.x1;
        (covers.clip_row(py, x0, x1), ...);
        for (int32_t px = x0; px < x1; ++px)
            if (drawn(px + 0.5, py + 0.5))
                return true;
    }
    return false;
}

// The pixels whose centres lie in [from, from + size).
void centre_span(double from, double size, int32_t& first, int32_t& end)
{
    const double a = size < 0 ? from + size : from;
    const double b = a + std::fabs(size);
    first = static_cast<int32_t>(std::clamp(std::ceil(a - 0.5), -double{1 << 28}, double{1 << 28}));
    end = static_cast<int32_t>(std::clamp(std::ceil(b - 0.5), -double{1 << 28}, double{1 << 28}));
}

} // namespace

bool images_collide(const Ref<TImage>& a, const ImagePlacement& at_a, const Ref<TImage>& b,
                    const ImagePlacement& at_b)
{
    Coverage ca, cb;
    if (!a || !b || !ca.place(*a, at_a) || !cb.place(*b, at_b))
        return false;
    const PixelBox box = collision_detail::intersect(ca.box(), cb.box());
    if (box.empty())
        return false;
    return any_pixel(
        box, [&](double sx, double sy) { return ca.drawn_at(sx, sy) && cb.drawn_at(sx, sy); }, ca, cb);
}

bool image_rect_collide(const Ref<TImage>& image, const ImagePlacement& at, float x, float y,
                        float width, float height)
{
    Coverage c;
    if (!image || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(width) ||
        !std::isfinite(height) || !c.place(*image, at))
        return false;
    PixelBox rect;
    centre_span(x, width, rect.x0, rect.x1);
    centre_span(y, height, rect.y0, rect.y1);
    const PixelBox box = collision_detail::intersect(c.box(), rect);
    if (box.empty())
        return false;
    return any_pixel(box, [&](double sx, double sy) { return c.drawn_at(sx, sy); }, c);
}

bool image_point_collide(const Ref<TImage>& image, const ImagePlacement& at, float x, float y)
{
    Coverage c;
    return image && c.place(*image, at) && c.drawn_at(x, y);
}

} // namespace vantrel
