// The wing texture: one long feather lying along the picture's width. The
// quill runs near the top from the body side (x = 0) to the tip (x = 255);
// barbs sweep from it down and outwards, curving towards the tip; the vane
// is white by the quill and greys towards the trailing edge, where splits
// between barbs open into magenta notches.
#include "common/det_math.h"
#include "common/noise.h"
#include "pictures/canvas.h"
#include "pictures/pictures.h"

#include <array>
#include <cmath>
#include <vector>

namespace vantrel::assetgen {
namespace {

constexpr int kSize = 256;

double quill_centre(double x)
{
    const double u = x / 255.0;
    return 36.0 + 14.0 * u * u;
}

double quill_half_width(double x)
{
    return 6.0 - 3.8 * (x / 255.0);
}

// Where along the quill the barb through (x, depth below the quill) starts.
double barb_origin(double x, double depth)
{
    return x - 0.72 * depth - 0.0016 * depth * depth;
}

struct Notch {
    double origin;  // barb origin of the split's centre line
    double depth;   // how far up from the bottom edge it reaches
    double width;   // at the bottom edge
};

const std::array<Notch, 9>& notches()
{
    static const std::array<Notch, 9> list = [] {
        std::array<Notch, 9> n{};
        Random random(0xFEA7u);
        for (size_t i = 0; i < n.size(); ++i) {
            // Bottom-edge barbs start about 200 pixels left of where they end.
            const double end_x = 22.0 + 27.0 * static_cast<double>(i) + 8.0 * random.next_signed();
            n[i] = {barb_origin(end_x, 255.0 - quill_centre(end_x)), 26.0 + 44.0 * random.next_unit(),
                    12.0 + 8.0 * random.next_unit()};
        }
        return n;
    }();
    return list;
}

// Distance outside the nearest notch (negative inside), in barb-origin units.
double notch_distance(double origin, double from_bottom)
{
    double best = 1e9;
    for (const Notch& n : notches()) {
        if (from_bottom >= n.depth)
            continue;
        const double open = 1.0 - from_bottom / n.depth;
        const double half = 0.25 * n.width * (open + std::sqrt(open));  // a V, rounded at the root
        best = std::fmin(best, std::fabs(origin - n.origin) - half);
    }
    return best;
}

double barb_texture(double origin, double fine_x, double fine_y)
{
    const double lines = sin_turns(origin / 3.4);
    const double streaks = value_noise(origin / 6.0, 0.5, 0xBA4Bu) - 0.5;
    const double gaps = smoothstep(0.78, 0.95, value_noise(origin / 2.2, 3.5, 0x5EEDu));
    const double grain = value_noise(fine_x / 2.0, fine_y / 2.0, 0x6A1Du) - 0.5;
    return 7.0 * lines + 22.0 * streaks - 18.0 * gaps + 5.0 * grain;
}

Colour lower_vane(double x, double y, double depth)
{
    const double origin = barb_origin(x, depth);
    const double shade = 248.0 - 84.0 * smoothstep(6.0, 225.0, depth) - 14.0 * (x / 255.0);
    const double shadow = 26.0 * exp_det(-depth / 5.0);  // cast by the quill
    double lum = shade - shadow + barb_texture(origin, x, y);
    const double edge = notch_distance(origin, 255.0 - y);
    if (edge < 2.5)
        lum -= 22.0 * (1.0 - edge / 2.5);
    return {lum, lum, lum + 4.0};
}

Colour upper_vane(double x, double y, double height)
{
    const double origin = x - 1.05 * height;
    const double lum = 244.0 - 40.0 * smoothstep(0.0, 38.0, height) + 0.7 * barb_texture(origin, x, y);
    return {lum, lum, lum + 3.0};
}

Colour quill(double offset, double half_width)
{
    const double t = offset / half_width;  // -1 at the top edge, +1 at the bottom
    const double highlight = exp_det(-((t + 0.3) / 0.5) * ((t + 0.3) / 0.5));
    const double lum = 196.0 + 56.0 * highlight - 22.0 * smoothstep(0.2, 1.0, t);
    return {lum + 4.0, lum + 2.0, lum - 8.0};
}

Rgb feather_pixel(int px, int py, bool notched)
{
    const double x = px + 0.5, y = py + 0.5;
    const double centre = quill_centre(x);
    const double half = quill_half_width(x);
    const double offset = y - centre;
    if (notched && offset > 0 && notch_distance(barb_origin(x, offset), 255.0 - y) < 0.0)
        return kMagenta;
    const Colour vane = offset > 0 ? lower_vane(x, y, offset) : upper_vane(x, y, -offset);
    const double cover = clamp(half + 0.5 - std::fabs(offset), 0.0, 1.0);
    Colour c = mix(vane, quill(offset, half), cover);
    c.r = clamp(c.r, 40.0, 250.0);
    c.g = clamp(c.g, 40.0, 250.0);
    c.b = clamp(c.b, 40.0, 250.0);
    return to_rgb(c);
}

// Magenta reached from the bottom row through magenta; a notch's thin tip
// can leave specks behind that would show as holes inside the vane.
std::vector<uint8_t> open_notches(const RgbImage& image)
{
    std::vector<uint8_t> open(static_cast<size_t>(kSize * kSize), 0);
    std::vector<int> stack;
    for (int x = 0; x < kSize; ++x)
        stack.push_back((kSize - 1) * kSize + x);
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        const int x = i % kSize, y = i / kSize;
        if (open[static_cast<size_t>(i)] || !(image.get(x, y) == kMagenta))
            continue;
        open[static_cast<size_t>(i)] = 1;
        if (x > 0) stack.push_back(i - 1);
        if (x + 1 < kSize) stack.push_back(i + 1);
        if (y > 0) stack.push_back(i - kSize);
        if (y + 1 < kSize) stack.push_back(i + kSize);
    }
    return open;
}

}  // namespace

RgbImage make_feather()
{
    RgbImage image(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            image.set(x, y, feather_pixel(x, y, true));
    const std::vector<uint8_t> open = open_notches(image);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (image.get(x, y) == kMagenta && !open[static_cast<size_t>(y * kSize + x)])
                image.set(x, y, feather_pixel(x, y, false));
    return image;
}

}  // namespace vantrel::assetgen
