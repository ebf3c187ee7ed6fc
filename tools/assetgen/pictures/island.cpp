// The island seen from above. A land-height field (a warped, noisy dome) is
// cut at the level that leaves about 55 % of the picture as white sea;
// white pockets enclosed by land become lakes and tiny islets are dropped,
// so the white is one region reaching the picture's edge. Above the cut come
// bands of shallow water, surf, wet and dry sand, then grass and forest on
// rising hills with rocky tops, shaded by a light from the upper left.
#include "common/det_math.h"
#include "common/noise.h"
#include "pictures/canvas.h"
#include "pictures/pictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vantrel::assetgen {
namespace {

constexpr int kSize = 512;
constexpr double kWhiteShare = 0.55;

enum class Cell : uint8_t { Sea, Lake, Land };

struct Field {
    std::vector<double> land;    // height above which the ground is dry
    std::vector<double> relief;  // shaded height, in pixels
    std::vector<double> forest;  // 0 grass .. 1 forest
    std::vector<Cell> cells;
    double sea_level = 0.0;
    double top = 0.0;
    size_t at(int x, int y) const { return static_cast<size_t>(y) * kSize + static_cast<size_t>(x); }
};

double dome(double x, double y, double cx, double cy, double rx, double ry)
{
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return 1.0 - std::sqrt(dx * dx + dy * dy);
}

// A main dome along the diagonal, a smaller lobe to the south-west, warped
// and roughened coast, a hollow that holds a lake.
double land_height(int px, int py)
{
    const double x = px + 0.5, y = py + 0.5;
    const double nx = (x - 256.0) / 256.0, ny = (y - 256.0) / 256.0;
    const double wx = nx + 0.24 * (fractal_noise(x / 140.0, y / 140.0, 11u, 4) - 0.5);
    const double wy = ny + 0.24 * (fractal_noise(x / 140.0, y / 140.0, 23u, 4) - 0.5);
    const double u = 0.71 * wx + 0.71 * wy, v = -0.71 * wx + 0.71 * wy;  // diagonal frame
    const double main = dome(u, v, 0.10, -0.04, 0.68, 0.58);
    const double lobe = dome(u, v, -0.50, 0.16, 0.34, 0.28) * 0.8;
    double h = std::fmax(main, lobe) * 1.3 + 0.30 * (fractal_noise(x / 70.0, y / 70.0, 37u, 5) - 0.5) +
               0.06 * (fractal_noise(x / 14.0, y / 14.0, 41u, 3) - 0.5);
    const double lake = dome(u, v, 0.36, 0.10, 0.15, 0.10);
    h -= 0.9 * smoothstep(-0.6, 1.0, lake) * (lake > -0.6 ? 1.0 : 0.0);
    const double edge = std::fmax(std::fabs(nx), std::fabs(ny));
    return h - 2.0 * smoothstep(0.9, 0.99, edge);  // keep clear of the picture's border
}

// Marks cells from the border inwards: connected white stays sea, the rest
// of the white becomes lake.
void mark_sea(Field& f)
{
    std::vector<int> stack;
    auto push = [&](int x, int y) {
        const size_t i = f.at(x, y);
        if (f.cells[i] == Cell::Lake) {
            f.cells[i] = Cell::Sea;
            stack.push_back(y * kSize + x);
        }
    };
    for (int i = 0; i < kSize; ++i) {
        push(i, 0), push(i, kSize - 1), push(0, i), push(kSize - 1, i);
    }
    while (!stack.empty()) {
        const int x = stack.back() % kSize, y = stack.back() / kSize;
        stack.pop_back();
        if (x > 0) push(x - 1, y);
        if (x + 1 < kSize) push(x + 1, y);
        if (y > 0) push(x, y - 1);
        if (y + 1 < kSize) push(x, y + 1);
    }
}

// Land specks of fewer than min_size pixels go back to sea.
void drop_islets(Field& f, size_t min_size)
{
    std::vector<uint8_t> seen(f.cells.size(), 0);
    std::vector<int> stack, component;
    for (size_t start = 0; start < f.cells.size(); ++start) {
        if (seen[start] || f.cells[start] != Cell::Land)
            continue;
        component.clear();
        stack.assign(1, static_cast<int>(start));
        seen[start] = 1;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            component.push_back(i);
            const int x = i % kSize, y = i / kSize;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= kSize || n[1] >= kSize)
                    continue;
                const size_t j = f.at(n[0], n[1]);
                if (!seen[j] && f.cells[j] == Cell::Land) {
                    seen[j] = 1;
                    stack.push_back(static_cast<int>(j));
                }
            }
        }
        if (component.size() < min_size)
            for (int i : component)
                f.cells[static_cast<size_t>(i)] = Cell::Sea;
    }
}

// Tree crowns on a jittered grid: canopy height in pixels, 0 between crowns.
double canopy(double x, double y)
{
    constexpr double kCell = 6.5;
    const auto cx = static_cast<int32_t>(std::floor(x / kCell));
    const auto cy = static_cast<int32_t>(std::floor(y / kCell));
    double best = 0.0;
    for (int32_t j = cy - 1; j <= cy + 1; ++j) {
        for (int32_t i = cx - 1; i <= cx + 1; ++i) {
            const double tx = (i + 0.15 + 0.7 * lattice_unit(i, j, 501u)) * kCell;
            const double ty = (j + 0.15 + 0.7 * lattice_unit(i, j, 502u)) * kCell;
            const double radius = 3.0 + 1.6 * lattice_unit(i, j, 503u);
            const double d2 = (x - tx) * (x - tx) + (y - ty) * (y - ty);
            if (d2 < radius * radius)
                best = std::fmax(best, std::sqrt(radius * radius - d2));
        }
    }
    return best;
}

void build_field(Field& f)
{
    const size_t n = static_cast<size_t>(kSize) * kSize;
    f.land.resize(n);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            f.land[f.at(x, y)] = land_height(x, y);
    std::vector<double> sorted = f.land;
    const auto cut = sorted.begin() + static_cast<long>(kWhiteShare * static_cast<double>(n));
    std::nth_element(sorted.begin(), cut, sorted.end());
    f.sea_level = *cut;
    f.top = *std::max_element(f.land.begin(), f.land.end());
    f.cells.assign(n, Cell::Land);
    for (size_t i = 0; i < n; ++i)
        if (f.land[i] < f.sea_level)
            f.cells[i] = Cell::Lake;
    mark_sea(f);
    drop_islets(f, 60);
    // A dropped islet inside a lake must not leave white there.
    for (Cell& c : f.cells)
        if (c == Cell::Sea)
            c = Cell::Lake;
    mark_sea(f);
}

void build_relief(Field& f)
{
    const size_t n = f.land.size();
    f.relief.assign(n, 0.0);
    f.forest.assign(n, 0.0);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const size_t i = f.at(x, y);
            const double e = clamp((f.land[i] - f.sea_level) / (f.top - f.sea_level), 0.0, 1.0);
            const double ridge = 1.0 - std::fabs(2.0 * fractal_noise(x / 60.0, y / 60.0, 61u, 4) - 1.0);
            const double hills = e * e * (0.4 + 1.1 * ridge);
            const double wet = fractal_noise(x / 45.0, y / 45.0, 73u, 4);
            const double forest = smoothstep(0.52, 0.60, wet + 0.25 * e) * smoothstep(0.10, 0.2, e) *
                                  (1.0 - smoothstep(0.75, 0.9, hills));
            f.forest[i] = forest;
            f.relief[i] = hills * 70.0 + forest * canopy(x + 0.5, y + 0.5) +
                          1.2 * fractal_noise(x / 5.0, y / 5.0, 83u, 2);
        }
    }
}

// Brightness from the upper-left light; 1 on flat ground.
double hill_shade(const Field& f, int x, int y)
{
    const auto h = [&](int i, int j) {
        return f.relief[f.at(std::clamp(i, 0, kSize - 1), std::clamp(j, 0, kSize - 1))];
    };
    const double dx = (h(x + 1, y) - h(x - 1, y)) * 0.5;
    const double dy = (h(x, y + 1) - h(x, y - 1)) * 0.5;
    const double lambert = (0.55 * dx + 0.6 * dy + 0.58) / std::sqrt(dx * dx + dy * dy + 1.0);
    return clamp(0.25 + 0.75 * lambert / 0.58, 0.45, 1.3);
}

Colour water_colour(double depth01, double ripple)
{
    const Colour deep{52.0, 150.0, 196.0}, shallow{118.0, 208.0, 200.0};
    return add(mix(deep, shallow, depth01), ripple);
}

Colour ground_colour(const Field& f, int x, int y)
{
    const size_t i = f.at(x, y);
    const double above = f.land[i] - f.sea_level;
    const double ripple = 6.0 * (value_noise(x / 3.0, y / 9.0, 91u) - 0.5);
    if (above < 0.045)
        return water_colour(smoothstep(0.0, 0.045, above), ripple);
    if (above < 0.053)
        return {222.0, 238.0, 226.0};  // surf
    const double grain = 5.0 * (value_noise(x / 1.7, y / 1.7, 97u) - 0.5);
    if (above < 0.09) {
        const Colour wet{196.0, 184.0, 138.0}, dry{236.0, 222.0, 168.0};
        return add(mix(wet, dry, smoothstep(0.053, 0.07, above)), grain);
    }
    const double e = (above - 0.09) / (f.top - f.sea_level);
    const double patch = fractal_noise(x / 25.0, y / 25.0, 101u, 3);
    Colour grass = mix(Colour{138.0, 190.0, 86.0}, Colour{92.0, 150.0, 58.0}, patch);
    grass = mix(grass, Colour{186.0, 196.0, 120.0}, smoothstep(0.02, 0.0, e) * 0.6);  // dune grass
    const double tree = canopy(x + 0.5, y + 0.5);
    const Colour crown = mix(Colour{40.0, 104.0, 44.0}, Colour{70.0, 136.0, 52.0}, patch);
    const Colour woods = tree > 0.0 ? crown : Colour{26.0, 66.0, 32.0};
    Colour c = mix(add(grass, grain), woods, f.forest[i]);
    const double rock = smoothstep(0.58, 0.8, f.relief[i] / 70.0);
    return mix(c, add(Colour{158.0, 156.0, 128.0}, grain), rock);
}

Colour lake_colour(const Field& f, int x, int y)
{
    const double depth = clamp((f.sea_level - f.land[f.at(x, y)]) / 0.03, 0.0, 1.0);
    return mix(Colour{96.0, 170.0, 176.0}, Colour{44.0, 112.0, 164.0}, depth);
}

// Dropping the lowest bit costs nothing visible and keeps the file small.
Rgb even(Rgb c)
{
    return {static_cast<uint8_t>(c.r & 0xFE), static_cast<uint8_t>(c.g & 0xFE), static_cast<uint8_t>(c.b & 0xFE)};
}

}  // namespace

RgbImage make_island()
{
    Field f;
    build_field(f);
    build_relief(f);
    RgbImage image(kSize, kSize, {255, 255, 255});
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const Cell cell = f.cells[f.at(x, y)];
            if (cell == Cell::Sea)
                continue;
            Colour c = cell == Cell::Lake ? lake_colour(f, x, y) : ground_colour(f, x, y);
            if (cell == Cell::Land && f.land[f.at(x, y)] - f.sea_level >= 0.053)
                c = scale(c, hill_shade(f, x, y));
            // Never pure white: white is the transparent colour.
            c = {clamp(c.r, 1.0, 250.0), clamp(c.g, 1.0, 250.0), clamp(c.b, 1.0, 250.0)};
            image.set(x, y, even(to_rgb(c)));
        }
    }
    return image;
}

}  // namespace vantrel::assetgen
