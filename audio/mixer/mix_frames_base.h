// The building blocks of the mixer's inner loops: the pan law, reading and
// interpolating sample values, and the per-block state of one sound.
//
// Interpolation is linear between a frame and its successor with a 16-bit
// fraction; the product of a difference and a fraction can need 33 bits, so
// it is formed in 64 bits. All shifts of signed values are arithmetic. The
// accumulator adds through unsigned arithmetic so that an absurd pile-up of
// loud sounds wraps instead of being undefined.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace vantrel::mixing {

static_assert(std::endian::native == std::endian::little,
              "16-bit sample memory is read in host order");

struct gains {
    int32_t left;
    int32_t right;
};

// The pan and surround law: panning turns one side down, never the other up.
inline gains pan_gains(int32_t volume, int32_t pan, int32_t surround)
{
    int16_t left = static_cast<int16_t>(volume);
    int16_t right = static_cast<int16_t>(volume);
    if (pan > 0)
        left = static_cast<int16_t>((volume * (4096 - pan)) >> 12);
    if (pan < 0)
        right = static_cast<int16_t>((volume * (4096 + pan)) >> 12);
    if (surround < 0)
        right = static_cast<int16_t>(-right);
    return {left, right};
}

inline int32_t s16_at(const uint8_t* data, size_t index)
{
    int16_t v;
    std::memcpy(&v, data + 2 * index, sizeof v);
    return v;
}

inline int32_t lerp16(int32_t a, int32_t b, int32_t f)
{
    return a + static_cast<int32_t>((int64_t{b} - a) * f >> 16);
}

inline int32_t lerp8(int32_t a, int32_t b, int32_t f)
{
    return a * 256 + (((b - a) * f) >> 8) - 32768;
}

// The fraction of the frame position for interleaved stereo: the element index
// is odd in the second half of a frame step.
inline int32_t stereo_fraction(uint64_t pos)
{
    const uint32_t e = static_cast<uint32_t>(pos >> 32);
    return static_cast<int32_t>((e & 1) * 32768 + (static_cast<uint32_t>(pos) >> 17));
}

struct stereo16 {
    static constexpr int channels = 2;
    static constexpr bool wide = true;
    static void read(const uint8_t* d, uint64_t pos, int32_t& l, int32_t& r)
    {
        const size_t base = static_cast<size_t>(pos >> 32) & ~size_t{1};
        const int32_t f = stereo_fraction(pos);
        l = lerp16(s16_at(d, base), s16_at(d, base + 2), f);
        r = lerp16(s16_at(d, base + 1), s16_at(d, base + 3), f);
    }
};

struct mono16 {
    static constexpr int channels = 1;
    static constexpr bool wide = true;
    static void read(const uint8_t* d, uint64_t pos, int32_t& l, int32_t& r)
    {
        const size_t e = static_cast<size_t>(pos >> 32);
        const int32_t f = static_cast<int32_t>(static_cast<uint32_t>(pos) >> 16);
        l = r = lerp16(s16_at(d, e), s16_at(d, e + 1), f);
    }
};

struct stereo8 {
    static constexpr int channels = 2;
    static constexpr bool wide = false;
    static void read(const uint8_t* d, uint64_t pos, int32_t& l, int32_t& r)
    {
        const size_t base = static_cast<size_t>(pos >> 32) & ~size_t{1};
        const int32_t f = stereo_fraction(pos);
        l = lerp8(d[base], d[base + 2], f);
        r = lerp8(d[base + 1], d[base + 3], f);
    }
};

struct mono8 {
    static constexpr int channels = 1;
    static constexpr bool wide = false;
    static void read(const uint8_t* d, uint64_t pos, int32_t& l, int32_t& r)
    {
        const size_t e = static_cast<size_t>(pos >> 32);
        const int32_t f = static_cast<int32_t>(static_cast<uint32_t>(pos) >> 16);
        l = r = lerp8(d[e], d[e + 1], f);
    }
};

// One block of one sound, as the loops see it.
struct block {
    int32_t* acc;          // accumulator entry of the first frame to mix
    int32_t frames;
    uint64_t pos;          // 32.32, in sample values
    uint64_t end;          // channels * frames, 32.32; never 0 here
    bool looping;
    int64_t increment;     // 32.32 sample values per output frame
    int64_t increment_step;
    int32_t volume_acc;    // volume << 8
    int32_t volume_step;
    int32_t pan;
    int32_t surround;
    int32_t mixed;         // out: frames mixed before a one-shot end, else all
};

inline void accumulate(int32_t& a, int32_t v)
{
    a = static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(v));
}

inline uint64_t wrap(uint64_t pos, uint64_t end)
{
    pos -= end;
    return pos < end ? pos : pos % end;
}

} // namespace vantrel::mixing
