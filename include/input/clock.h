// The millisecond clock the game, the frame pacing and the audio layer share.
#pragma once

#include <cstdint>

namespace vantrel {

// Milliseconds since an arbitrary start, wrapping at 2^32. Subtract two
// readings in 32-bit arithmetic to get an interval that survives the wrap.
int32_t clock_ms();

// Sleeps ms milliseconds; a negative value returns at once, 0 still sleeps.
void delay(int32_t ms);

// b - a in wrap-around arithmetic.
inline int32_t elapsed_ms(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(b) - static_cast<uint32_t>(a));
}

} // namespace vantrel
