// Deterministic randomness for the generators: an integer hash, a small
// sequential generator, and smooth 2-D value noise with fractal sums.
#pragma once

#include <cstdint>

namespace vantrel::assetgen {

uint32_t hash_u32(uint32_t x);

// Hash of a lattice point with a seed, as a double in [0, 1).
double lattice_unit(int32_t x, int32_t y, uint32_t seed);

// Sequential generator (xorshift32 scrambled by the hash); never zero state.
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t next_u32();
    double next_unit();      // [0, 1)
    double next_signed();    // [-1, 1)

private:
    uint32_t state_;
};

// Smoothly interpolated lattice noise in [0, 1); period lattice cells wrap
// when period > 0.
double value_noise(double x, double y, uint32_t seed, int32_t period = 0);

// Sum of octaves of value noise, normalised back to [0, 1).
double fractal_noise(double x, double y, uint32_t seed, int octaves, double gain = 0.5);

}  // namespace vantrel::assetgen
