// Reproducible maths: polynomial sine, reduced exponential, rounding.
#include "common/det_math.h"

#include <cmath>

namespace vantrel::assetgen {
namespace {

// sin(t) for |t| <= pi/2 by Taylor series to t^17 (error below 1e-12).
double sin_poly(double t)
{
    const double t2 = t * t;
    double term = t;
    double sum = t;
    for (int n = 1; n <= 8; ++n) {
        term = -term * t2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

}  // namespace

double sin_turns(double turns)
{
    double x = turns - std::floor(turns);  // [0, 1)
    if (x >= 0.5)
        x -= 1.0;  // [-0.5, 0.5)
    if (x > 0.25)
        x = 0.5 - x;
    else if (x < -0.25)
        x = -0.5 - x;
    return sin_poly(x * kTwoPi);
}

double cos_turns(double turns)
{
    return sin_turns(turns + 0.25);
}

double exp_det(double x)
{
    constexpr double kLn2 = 0.69314718055994530942;
    const double n = std::floor(x / kLn2 + 0.5);
    const double r = x - n * kLn2;  // |r| <= ln2 / 2
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k <= 16; ++k) {
        term = term * r / static_cast<double>(k);
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(n));
}

double semitone_ratio(double semitones)
{
    constexpr double kLn2 = 0.69314718055994530942;
    return exp_det(semitones * kLn2 / 12.0);
}

double midi_hz(double note)
{
    return 440.0 * semitone_ratio(note - 69.0);
}

double clamp(double x, double lo, double hi)
{
    return x < lo ? lo : (x > hi ? hi : x);
}

double smoothstep(double edge0, double edge1, double x)
{
    const double t = clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

int64_t round_to_int(double x)
{
    return x >= 0 ? static_cast<int64_t>(std::floor(x + 0.5)) : -static_cast<int64_t>(std::floor(-x + 0.5));
}

uint8_t to_byte(double x)
{
    return static_cast<uint8_t>(round_to_int(clamp(x, 0.0, 255.0)));
}

int16_t to_pcm16(double x)
{
    return static_cast<int16_t>(round_to_int(clamp(x, -32767.0, 32767.0)));
}

}  // namespace vantrel::assetgen

#include <array>

namespace vantrel::assetgen {
namespace {

constexpr int kSineSteps = 8192;

const std::array<double, kSineSteps + 1>& sine_table()
{
    static const std::array<double, kSineSteps + 1> table = [] {
        std::array<double, kSineSteps + 1> t{};
        for (int i = 0; i <= kSineSteps; ++i)
            t[static_cast<size_t>(i)] = sin_turns(static_cast<double>(i) / kSineSteps);
        return t;
    }();
    return table;
}

}  // namespace

double table_sin(double turns)
{
    const auto& table = sine_table();
    const double x = (turns - std::floor(turns)) * kSineSteps;
    const double whole = std::floor(x);
    auto i = static_cast<size_t>(whole);
    if (i >= kSineSteps)
        i = kSineSteps - 1;
    const double frac = x - static_cast<double>(i);
    return table[i] + (table[i + 1] - table[i]) * frac;
}

}  // namespace vantrel::assetgen
