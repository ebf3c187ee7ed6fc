// SSE2 loops for the commonest block: 16-bit stereo at fixed settings,
// stepping exactly half a frame (a 22050 Hz sample played at its own speed)
// or a whole frame per output frame. Eight 16-bit products are formed at
// once from the low and high halves of 16 x 16-bit multiplies, which is
// exact, and the midpoint of two samples is floor((a + b) / 2), computed
// without overflow as (a & b) + ((a ^ b) >> 1): the general loop's
// a + ((b - a) * 32768 >> 16), value for value.
#pragma once

#include "audio/mixer/mix_frames_base.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstdint>

namespace vantrel::mixing {

#if defined(__SSE2__)

// acc[0..7] += (frames[i] * gains[i]) >> 8 for four stereo frames.
inline void add_products(int32_t* acc, __m128i frames, __m128i gains16)
{
    const __m128i lo = _mm_mullo_epi16(frames, gains16);
    const __m128i hi = _mm_mulhi_epi16(frames, gains16);
    auto* a = reinterpret_cast<__m128i*>(acc);
    const __m128i first = _mm_srai_epi32(_mm_unpacklo_epi16(lo, hi), 8);
    const __m128i second = _mm_srai_epi32(_mm_unpackhi_epi16(lo, hi), 8);
    _mm_storeu_si128(a, _mm_add_epi32(_mm_loadu_si128(a), first));
    _mm_storeu_si128(a + 1, _mm_add_epi32(_mm_loadu_si128(a + 1), second));
}

// Mixes whole groups of output frames from the frame at p (a position on a
// frame start) and returns how many it mixed; the caller mixes the rest. It
// reads no further than the frame after the last one it interpolates from.
template <bool Half>
int32_t mix_stereo16_groups(const uint8_t* p, int32_t* acc, int32_t count, gains g)
{
    const auto l = static_cast<int16_t>(g.left), r = static_cast<int16_t>(g.right);
    const __m128i gains16 = _mm_set_epi16(r, l, r, l, r, l, r, l);
    int32_t k = 0;
    if constexpr (Half) {
        for (; k + 8 <= count; k += 8, p += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4));
            const __m128i mid =
                _mm_add_epi16(_mm_and_si128(a, b), _mm_srai_epi16(_mm_xor_si128(a, b), 1));
            add_products(acc + 2 * k, _mm_unpacklo_epi32(a, mid), gains16);
            add_products(acc + 2 * k + 8, _mm_unpackhi_epi32(a, mid), gains16);
        }
    } else {
        for (; k + 4 <= count; k += 4, p += 16)
            add_products(acc + 2 * k, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), gains16);
    }
    return k;
}

#else

template <bool Half>
int32_t mix_stereo16_groups(const uint8_t*, int32_t*, int32_t, gains)
{
    return 0;
}

#endif

} // namespace vantrel::mixing
