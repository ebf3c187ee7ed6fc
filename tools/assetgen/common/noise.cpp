// Integer hashing and value noise.
#include "common/noise.h"

#include <cmath>

namespace vantrel::assetgen {

uint32_t hash_u32(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

double lattice_unit(int32_t x, int32_t y, uint32_t seed)
{
    const uint32_t h = hash_u32(static_cast<uint32_t>(x) * 0x8DA6B343u ^ hash_u32(static_cast<uint32_t>(y) + seed));
    return static_cast<double>(h >> 8) / 16777216.0;
}

uint32_t Random::next_u32()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return hash_u32(state_);
}

double Random::next_unit()
{
    return static_cast<double>(next_u32() >> 8) / 16777216.0;
}

double Random::next_signed()
{
    return next_unit() * 2.0 - 1.0;
}

double value_noise(double x, double y, uint32_t seed, int32_t period)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    auto x0 = static_cast<int32_t>(fx);
    auto y0 = static_cast<int32_t>(fy);
    int32_t x1 = x0 + 1;
    int32_t y1 = y0 + 1;
    if (period > 0) {
        x0 = ((x0 % period) + period) % period;
        y0 = ((y0 % period) + period) % period;
        x1 = (x0 + 1) % period;
        y1 = (y0 + 1) % period;
    }
    const double tx = x - fx;
    const double ty = y - fy;
    const double sx = tx * tx * (3.0 - 2.0 * tx);
    const double sy = ty * ty * (3.0 - 2.0 * ty);
    const double a = lattice_unit(x0, y0, seed);
    const double b = lattice_unit(x1, y0, seed);
    const double c = lattice_unit(x0, y1, seed);
    const double d = lattice_unit(x1, y1, seed);
    const double top = a + (b - a) * sx;
    const double bottom = c + (d - c) * sx;
    return top + (bottom - top) * sy;
}

double fractal_noise(double x, double y, uint32_t seed, int octaves, double gain)
{
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    double scale = 1.0;
    for (int i = 0; i < octaves; ++i) {
        sum += value_noise(x * scale, y * scale, seed + static_cast<uint32_t>(i) * 1013u, 0) * weight;
        total += weight;
        weight *= gain;
        scale *= 2.0;
    }
    return sum / total;
}

}  // namespace vantrel::assetgen
