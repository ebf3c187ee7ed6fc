// The per-frame inner loops of the mixer, one instance per sample layout and
// per case (fixed settings, or a volume and speed ramp across the block), and
// the choice between the general loop and the exact-step ones.
#pragma once

#include "audio/mixer/mix_frames_base.h"
#include "audio/mixer/mix_simd.h"

#include <cstdint>

namespace vantrel::mixing {

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
        if constexpr (Channels == 2 && !Ramp) {
            const int32_t done = mix_stereo16_groups<true>(p, acc + 2 * k, count - k, fg.fixed);
            k += done;
            p += done / 2 * bytes;
            al = s16_at(p, 0);
            ar = s16_at(p, 1);
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
        if constexpr (Channels == 2 && !Ramp) {
            const int32_t done = mix_stereo16_groups<false>(p, acc, count, fg.fixed);
            k += done;
            p += done * bytes;
        }
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
    int32_t k = 0;
    while (k < b.frames) {
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
    b.mixed = k;
    return finished;
}

} // namespace vantrel::mixing
