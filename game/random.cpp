// Park-Miller "minimal standard" generator, stepped with Schrage's method so
// that 32-bit signed arithmetic never overflows.
#include "game/random.h"

namespace vantrel {

namespace {

constexpr int32_t MODULUS = 2147483647;
constexpr int32_t MULTIPLIER = 48271;
constexpr int32_t SCHRAGE_Q = MODULUS / MULTIPLIER; // 44488
constexpr int32_t SCHRAGE_R = MODULUS % MULTIPLIER; // 3399

int32_t state = RANDOM_START_STATE;

int32_t step()
{
    const int32_t hi = state / SCHRAGE_Q;
    const int32_t lo = state % SCHRAGE_Q;
    state = MULTIPLIER * lo - SCHRAGE_R * hi;
    if (state < 0)
        state += MODULUS;
    return state;
}

} // namespace

float random_float()
{
    return static_cast<float>(step() & 0x0FFFFFF0) / 268435456.0f;
}

double random_double()
{
    const double a = step() & 0x1FFFFFFC;
    const double b = step() & 0x1FFFFFF8;
    return (a + b / 134217728.0) / 536870912.0;
}

double random_between(double a, double b)
{
    if (b > a)
        return random_double() * (b - a) + a;
    return random_double() * (a - b) + b;
}

// Kept on purpose: the conversion truncates toward zero, so with lo < 0 the
// value lo comes next to never and 0 also takes the share of (-1, 0):
// random_int(-1, 1) is 0 two times in three. The scenery's drift relies on it.
int32_t random_int(int32_t lo, int32_t hi)
{
    const double range = static_cast<double>(hi) - static_cast<double>(lo);
    double value;
    if (range > 0)
        value = random_double() * (range + 1) + lo;
    else
        value = random_double() * (1 - range) + hi;
    return static_cast<int32_t>(value);
}

void set_random_state(int32_t seed)
{
    state = seed & MODULUS;
    if (state == 0 || state == MODULUS)
        state = RANDOM_START_STATE;
}

int32_t get_random_state()
{
    return state;
}

} // namespace vantrel
