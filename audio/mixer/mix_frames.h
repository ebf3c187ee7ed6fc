// The per-frame inner loops of the mixer, one instance per sample layout and
// per case (fixed settings, or a volume and speed ramp across the block).
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

// Mixes `count` frames from acc with fixed or ramped settings, advancing the
// position; the end is checked after every frame when `checked`.
template <class Reader, bool Ramp, bool Checked>
int32_t mix_run(const uint8_t* data, block& b, int32_t* acc, int32_t count, uint64_t& pos,
                int64_t& increment, int32_t& volume_acc, gains g)
{
    const uint64_t end = b.end;
    for (int32_t k = 0; k < count; ++k) {
        if constexpr (Ramp)
            g = pan_gains(volume_acc >> 8, b.pan, b.surround);
        int32_t l, r;
        Reader::read(data, pos, l, r);
        accumulate(acc[2 * k], (l * g.left) >> 8);
        accumulate(acc[2 * k + 1], (r * g.right) >> 8);
        pos += static_cast<uint64_t>(increment);
        if constexpr (Ramp) {
            volume_acc += b.volume_step;
            increment += b.increment_step;
        }
        if constexpr (Checked)
            if (pos >= end)
                return k + 1;
    }
    return count;
}

// The volume of one output frame: fixed, or stepping along a ramp.
template <bool Ramp>
struct frame_gains {
    gains fixed;
    int32_t volume_acc;
    int32_t volume_step;
    int32_t pan;
    int32_t surround;

    gains next()
    {
        if constexpr (!Ramp) {
            return fixed;
        } else {
            const gains g = pan_gains(volume_acc >> 8, pan, surround);
            volume_acc += volume_step;
            return g;
        }
    }
};

// 16-bit sounds that step exactly half a source frame per output frame (a
// sample at half the output rate, played at its own speed: every loop of
// the game) or exactly one frame, from a position on such a step. The
// interpolation then needs no multiplication: the fraction is 0 or one half,
// and a + ((b - a) * 32768 >> 16) is a + ((b - a) >> 1). The results are the
// general loop's, value for value.
template <int Channels, bool Half, bool Ramp>
void mix_exact_steps(const uint8_t* data, int32_t* acc, int32_t count, uint64_t pos,
                     frame_gains<Ramp>& fg)
{
    constexpr int bytes = 2 * Channels;
    const uint64_t h = pos >> (Channels == 2 ? 32 : 31); // position in half frames
    const auto emit = [&](int32_t at, int32_t l, int32_t r) {
        const gains g = fg.next();
        accumulate(acc[2 * at], (l * g.left) >> 8);
        accumulate(acc[2 * at + 1], (r * g.right) >> 8);
    };
    const uint8_t* p = data + (h >> 1) * bytes;
    int32_t al = s16_at(p, 0), ar = s16_at(p, Channels - 1);
    int32_t k = 0;
    if constexpr (Half) {
        if ((h & 1) && count > 0) { // starts between two frames
            p += bytes;
            const int32_t bl = s16_at(p, 0), br = s16_at(p, Channels - 1);
            emit(k++, al + ((bl - al) >> 1), ar + ((br - ar) >> 1));
            al = bl;
            ar = br;
        }
        for (; k + 1 < count; k += 2) {
            p += bytes;
            const int32_t bl = s16_at(p, 0), br = s16_at(p, Channels - 1);
            emit(k, al, ar);
            emit(k + 1, al + ((bl - al) >> 1), ar + ((br - ar) >> 1));
            al = bl;
            ar = br;
        }
        if (k < count)
            emit(k, al, ar);
    } else {
        for (; k < count; ++k, p += bytes)
            emit(k, s16_at(p, 0), s16_at(p, Channels - 1));
    }
}

// 1 for half-frame steps, 2 for whole-frame steps from a frame start, 0 when
// the general loop must take the run.
template <class Reader>
int exact_step_kind(uint64_t pos, int64_t increment)
{
    if constexpr (!Reader::wide) {
        return 0;
    } else {
        constexpr int64_t half = Reader::channels == 2 ? int64_t{1} << 32 : int64_t{1} << 31;
        if (pos % static_cast<uint64_t>(half) != 0)
            return 0;
        if (increment == half)
            return 1;
        return increment == 2 * half && (pos / half) % 2 == 0 ? 2 : 0;
    }
}

// Frames of a fixed step that can be mixed before one reaches the end.
inline int32_t frames_before_end(const block& b, uint64_t pos, int64_t increment, int32_t run)
{
    if (increment <= 0)
        return run;
    const uint64_t inc = static_cast<uint64_t>(increment);
    const uint64_t to_end = (b.end - pos + inc - 1) / inc;
    return to_end < static_cast<uint64_t>(run) ? static_cast<int32_t>(to_end) : run;
}

// One stretch of frames with a fixed step: no end test inside the loops.
template <class Reader, bool Ramp>
int32_t mix_fixed_step(const uint8_t* data, block& b, int32_t* acc, int32_t run, uint64_t& pos,
                       int64_t increment, int32_t& volume_acc, gains g)
{
    run = frames_before_end(b, pos, increment, run);
    const int kind = exact_step_kind<Reader>(pos, increment);
    if (kind == 0)
        return mix_run<Reader, Ramp, false>(data, b, acc, run, pos, increment, volume_acc, g);
    frame_gains<Ramp> fg{g, volume_acc, b.volume_step, b.pan, b.surround};
    if (kind == 1)
        mix_exact_steps<Reader::channels, true, Ramp>(data, acc, run, pos, fg);
    else
        mix_exact_steps<Reader::channels, false, Ramp>(data, acc, run, pos, fg);
    volume_acc = fg.volume_acc;
    pos += static_cast<uint64_t>(run) * static_cast<uint64_t>(increment);
    return run;
}

// Mixes b.frames frames; true when a one-shot sound reached its end (the
// frames after that get nothing). b.pos and the ramp state are written back.
template <class Reader, bool Ramp>
bool mix_frames(const uint8_t* data, block& b)
{
    uint64_t pos = b.pos;
    int64_t increment = b.increment;
    int32_t volume_acc = b.volume_acc;
    const gains g = pan_gains(volume_acc >> 8, b.pan, b.surround);
    const bool fixed_step = !Ramp || b.increment_step == 0;
    bool finished = false;
    for (int32_t k = 0; k < b.frames;) {
        int32_t* acc = b.acc + 2 * k;
        const int32_t run =
            fixed_step
                ? mix_fixed_step<Reader, Ramp>(data, b, acc, b.frames - k, pos, increment, volume_acc, g)
                : mix_run<Reader, true, true>(data, b, acc, b.frames - k, pos, increment, volume_acc, g);
        k += run;
        if (pos >= b.end) {
            if (!b.looping) {
                finished = true;
                break;
            }
            pos = wrap(pos, b.end);
        }
    }
    b.pos = pos;
    b.increment = increment;
    b.volume_acc = volume_acc;
    return finished;
}

} // namespace vantrel::mixing
