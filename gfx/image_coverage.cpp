// Placing an image on the screen for collision tests. The matrix is built
// as the drawing state builds it, so the tests see what is drawn.
#include "gfx/image_coverage.h"

#include <algorithm>
#include <cmath>

namespace vantrel::collision_detail {

namespace {

// Keeps pixel loops over absurd placements within int32_t.
constexpr double SCREEN_LIMIT = 1 << 28;

int32_t clamp_to_screen(double v)
{
    return static_cast<int32_t>(std::clamp(v, -SCREEN_LIMIT, SCREEN_LIMIT));
}

struct Matrix {
    float ix, iy, jx, jy;
};

Matrix placement_matrix(const ImagePlacement& at)
{
    const double radians = static_cast<double>(at.rotation) * (3.14159265358979323846 / 180.0);
    const double s = std::sin(radians), c = std::cos(radians);
    return {static_cast<float>(c * at.scale_x), static_cast<float>(-s * at.scale_y),
            static_cast<float>(s * at.scale_x), static_cast<float>(c * at.scale_y)};
}

} // namespace

PixelBox intersect(const PixelBox& a, const PixelBox& b)
{
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

void Coverage::set_drawn_rule(const TImage& image)
{
    const int32_t format = pixmap_->format;
    bytes_ = pixel_bytes(format);
    alpha_at_ = format == FORMAT_ALPHA8 ? 0 : ALPHA_BITS[format] ? 3 : -1;
    const auto r = static_cast<uint8_t>(image.mask_red), g = static_cast<uint8_t>(image.mask_green),
               b = static_cast<uint8_t>(image.mask_blue);
    // A key outside 0..255 matches no pixel, and a grey pixmap only a grey key.
    const bool in_range = image.mask_red == r && image.mask_green == g && image.mask_blue == b;
    keyed_ = alpha_at_ < 0 && (image.flags & IMAGE_MASKED) != 0 && in_range &&
             (format != FORMAT_GRAY8 || (r == g && g == b));
    key_[0] = format == FORMAT_BGR24 ? b : r, key_[1] = g, key_[2] = format == FORMAT_BGR24 ? r : b;
}

bool Coverage::place(const TImage& image, const ImagePlacement& at)
{
    if (at.frame < 0 || static_cast<size_t>(at.frame) >= image.pixmaps.size())
        return false;
    pixmap_ = image.pixmaps[static_cast<size_t>(at.frame)].get();
    if (!pixmap_ || pixel_bytes(pixmap_->format) == 0 || pixmap_->width < 1 || pixmap_->height < 1 ||
        image.width < 1 || image.height < 1)
        return false;
    set_drawn_rule(image);
    width_ = pixmap_->width, height_ = pixmap_->height;

    const Matrix m = placement_matrix(at);
    const double det = double{m.ix} * m.jy - double{m.iy} * m.jx;
    if (det == 0 || !std::isfinite(det) || !std::isfinite(at.x) || !std::isfinite(at.y))
        return false;
    // Local point (lx, ly) = inverse matrix x (screen - position); texel =
    // (local + handle) x pixmap size / image size.
    const double su = width_ / image.width, sv = height_ / image.height;
    const double x = at.x, y = at.y;
    map_.du_dx = m.jy / det * su, map_.du_dy = -m.iy / det * su;
    map_.u0 = ((-m.jy * x + m.iy * y) / det + image.handle_x) * su;
    map_.dv_dx = -m.jx / det * sv, map_.dv_dy = m.ix / det * sv;
    map_.v0 = ((m.jx * x - m.ix * y) / det + image.handle_y) * sv;
    inverse_du_dx_ = map_.du_dx != 0 ? 1 / map_.du_dx : 0;
    inverse_dv_dx_ = map_.dv_dx != 0 ? 1 / map_.dv_dx : 0;

    double min_x = HUGE_VAL, min_y = HUGE_VAL, max_x = -HUGE_VAL, max_y = -HUGE_VAL;
    for (const double lx : {-double{image.handle_x}, image.width - double{image.handle_x}})
        for (const double ly : {-double{image.handle_y}, image.height - double{image.handle_y}}) {
            const double sx = m.ix * lx + m.iy * ly + x, sy = m.jx * lx + m.jy * ly + y;
            min_x = std::min(min_x, sx), max_x = std::max(max_x, sx);
            min_y = std::min(min_y, sy), max_y = std::max(max_y, sy);
        }
    // One pixel of margin for rounding; the texel test decides.
    box_ = {clamp_to_screen(std::floor(min_x) - 1), clamp_to_screen(std::floor(min_y) - 1),
            clamp_to_screen(std::ceil(max_x) + 1), clamp_to_screen(std::ceil(max_y) + 1)};
    return std::isfinite(min_x) && std::isfinite(min_y) && std::isfinite(max_x) && std::isfinite(max_y);
}

namespace {

// Narrows [lo, hi] to the screen x where 0 <= c + d * x <= limit; inverse
// is 1 / d (the division is made once per placement, not per row).
void clip_axis(double c, double d, double inverse, double limit, double& lo, double& hi)
{
    if (d == 0) {
        if (c < 0 || c >= limit)
            lo = HUGE_VAL, hi = -HUGE_VAL;
        return;
    }
    const double a = -c * inverse, b = (limit - c) * inverse;
    lo = std::max(lo, std::min(a, b));
    hi = std::min(hi, std::max(a, b));
}

} // namespace

void Coverage::clip_row(int32_t py, int32_t& x0, int32_t& x1) const noexcept
{
    const double sy = py + 0.5;
    double lo = -HUGE_VAL, hi = HUGE_VAL;
    clip_axis(map_.u0 + sy * map_.du_dy, map_.du_dx, inverse_du_dx_, width_, lo, hi);
    clip_axis(map_.v0 + sy * map_.dv_dy, map_.dv_dx, inverse_dv_dx_, height_, lo, hi);
    if (!(lo <= hi)) {
        x1 = x0;
        return;
    }
    x0 = std::max(x0, clamp_to_screen(std::floor(lo - 0.5) - 1));
    x1 = std::min(x1, clamp_to_screen(std::ceil(hi - 0.5) + 1));
}

} // namespace vantrel::collision_detail
