// The application icon: a white feather lying diagonally on a rounded tile of
// the game's sky blue, a faint cloud glow in the upper left and a small
// island in the lower right. Every size is drawn from the same shapes, each
// pixel averaged over 8 x 8 samples, so the small sizes stay clean.
#include "common/det_math.h"
#include "pictures/canvas.h"
#include "pictures/pictures.h"

#include <cmath>
#include <stdexcept>

namespace vantrel::assetgen {
namespace {

constexpr int kSamples = 8;  // per pixel side

const Colour kSkyTop{70.0, 168.0, 255.0}, kSky{0.0, 128.0, 255.0};
const Colour kShallow{118.0, 208.0, 200.0}, kSand{236.0, 222.0, 168.0};
const Colour kGrass{92.0, 150.0, 58.0}, kForest{40.0, 104.0, 44.0};
const Colour kShadow{0.0, 58.0, 140.0}, kQuill{112.0, 124.0, 146.0};

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Paint {
    Colour c;
    double a = 0.0;
};

// Signed distance to the rounded tile (negative inside).
double tile_distance(double u, double v)
{
    constexpr double margin = 0.03, radius = 0.2;
    const double half = 0.5 - margin - radius;
    const double qx = std::fabs(u - 0.5) - half, qy = std::fabs(v - 0.5) - half;
    const double ox = std::fmax(qx, 0.0), oy = std::fmax(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::fmin(std::fmax(qx, qy), 0.0) - radius;
}

// The feather's frame: t runs along the quill from its root (0) to the tip
// (1); d is the distance across it, positive on the trailing (lower right)
// side.
struct FeatherPoint {
    double t, d;
};

constexpr double kRootU = 0.20, kRootV = 0.84, kTipU = 0.81, kTipV = 0.17;

FeatherPoint feather_frame(double u, double v)
{
    const double ex = kTipU - kRootU, ey = kTipV - kRootV;
    const double length = std::sqrt(ex * ex + ey * ey);
    const double px = u - kRootU, py = v - kRootV;
    return {(px * ex + py * ey) / (length * length), (-px * ey + py * ex) / length};
}

constexpr double kVaneStart = 0.14;

// The vane's half width on one side at t; 0 outside the vane.
double vane_width(double t, bool trailing)
{
    const double s = (t - kVaneStart) / (1.0 - kVaneStart);
    if (s <= 0.0 || s >= 1.0)
        return 0.0;
    const double shape = 2.0 * std::sqrt(s * (1.0 - s)) * (1.0 - 0.35 * s);
    return (trailing ? 0.18 : 0.10) * shape;
}

// Splits between barbs, open towards the vane's edge: one on each side.
bool in_split(const FeatherPoint& f, double width)
{
    const double outer = std::fabs(f.d) / width;
    if (outer < 0.5)
        return false;
    const double barb = f.t - 1.1 * std::fabs(f.d);  // barbs sweep towards the tip
    const double centre = f.d > 0.0 ? 0.30 : 0.52;
    return std::fabs(barb - centre) < 0.022 * (outer - 0.5) / 0.5;
}

bool in_vane(const FeatherPoint& f)
{
    const double width = vane_width(f.t, f.d > 0.0);
    return std::fabs(f.d) < width && !in_split(f, width);
}

Colour vane_colour(const FeatherPoint& f)
{
    const double width = vane_width(f.t, f.d > 0.0);
    const double across = std::fabs(f.d) / width;
    const double barbs = 0.5 + 0.5 * sin_turns((f.t - 1.1 * std::fabs(f.d)) * 34.0);
    const double lum = 252.0 - (f.d > 0.0 ? 48.0 : 26.0) * across * across - 10.0 * barbs * across;
    return {lum - 4.0, lum - 2.0, lum + 2.0};
}

bool in_quill(const FeatherPoint& f, double pixel)
{
    if (f.t < -0.05 || f.t > 0.97)
        return false;
    const double half = std::fmax(0.016 * (1.0 - 0.6 * f.t), 0.3 * pixel);
    return std::fabs(f.d) < half;
}

Paint island(double u, double v)
{
    const double du = (u - 0.80) / 0.24, dv = (v - 0.86) / 0.14;
    const double e = std::sqrt(du * du + dv * dv);
    if (e >= 1.35)
        return {};
    if (e >= 1.0)
        return {kShallow, 0.6};
    if (e >= 0.72)
        return {kSand, 1.0};
    return {e < 0.35 ? kForest : kGrass, 1.0};
}

Colour over(const Colour& below, const Paint& p)
{
    return mix(below, p.c, p.a);
}

// The colour and coverage of one sample point.
Paint sample(double u, double v, double pixel)
{
    if (tile_distance(u, v) > 0.0)
        return {};
    Colour c = mix(kSkyTop, kSky, smoothstep(0.05, 0.6, v));
    const double gu = (u - 0.30) / 0.26, gv = (v - 0.27) / 0.20;
    c = mix(c, {255.0, 255.0, 255.0}, 0.28 * (1.0 - smoothstep(0.0, 1.0, gu * gu + gv * gv)));
    c = over(c, island(u, v));
    const FeatherPoint shade = feather_frame(u - 0.018, v - 0.028);
    if (in_vane(shade) || in_quill(shade, pixel))
        c = mix(c, kShadow, 0.35);
    const FeatherPoint f = feather_frame(u, v);
    if (in_vane(f))
        c = vane_colour(f);
    if (in_quill(f, pixel))
        c = kQuill;
    return {c, 1.0};
}

Rgba pixel_at(int x, int y, int size)
{
    const double pixel = 1.0 / size;
    double r = 0.0, g = 0.0, b = 0.0, a = 0.0;
    for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
            const double u = (x + (sx + 0.5) / kSamples) * pixel;
            const double v = (y + (sy + 0.5) / kSamples) * pixel;
            const Paint p = sample(u, v, pixel);
            r += p.c.r * p.a;
            g += p.c.g * p.a;
            b += p.c.b * p.a;
            a += p.a;
        }
    }
    if (a == 0.0)
        return {};
    const Rgb rgb = to_rgb({r / a, g / a, b / a});
    return {rgb.r, rgb.g, rgb.b, to_byte(255.0 * a / (kSamples * kSamples))};
}

}  // namespace

RgbaImage make_icon(int size)
{
    if (size < 16 || size > 1024)
        throw std::invalid_argument("icon size out of range");
    RgbaImage image{size, size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgba p = pixel_at(x, y, size);
            const size_t i = (static_cast<size_t>(y) * size + x) * 4;
            image.bytes[i] = p.r;
            image.bytes[i + 1] = p.g;
            image.bytes[i + 2] = p.b;
            image.bytes[i + 3] = p.a;
        }
    }
    return image;
}

}  // namespace vantrel::assetgen
