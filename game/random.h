// The game's pseudo-random generator.
//
// A multiplicative congruential generator (multiplier 48271, modulus 2^31 - 1)
// with one process-wide state that starts at 4660 and is never seeded by the
// game, so a run's numbers depend only on how many were drawn before. Main
// thread only: the state is not protected.
#pragma once

#include <cstdint>

namespace vantrel {

inline constexpr int32_t RANDOM_START_STATE = 0x1234;

// One step; bits 4 to 27 of the new state as a fraction in [0, 1).
float random_float();

// Two steps; a 53-bit fraction in [0, 1).
double random_double();

// A double between a and b, whichever order they come in.
double random_between(double a, double b);

// random_double() scaled over [lo, hi + 1) and truncated toward zero, which
// makes ranges that cross zero uneven (0 comes up twice as often).
int32_t random_int(int32_t lo, int32_t hi);

// Sets the state from seed's low 31 bits; 0 and 2^31 - 1 fall back to 4660.
void set_random_state(int32_t seed);
int32_t get_random_state();

} // namespace vantrel
