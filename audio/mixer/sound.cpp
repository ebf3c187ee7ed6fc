// A sound's settings and its per-block mix.
#include "audio/mixer/sound.h"

#include "audio/mixer/mix_frames.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/mixstream.h"

#include <algorithm>
#include <limits>

namespace vantrel {
namespace {

constexpr auto relaxed = std::memory_order_relaxed;
constexpr int64_t OUTPUT_HERTZ = 44100;

// Source frames per output frame, 16.16. Kept between 0 and 2^31 - 1 so that
// a negative or absurd rate or sample rate can neither run the position
// backwards out of the frames nor overflow it.
int64_t frame_step(int32_t rate, int32_t hertz)
{
    const int64_t step = int64_t{rate} * hertz / OUTPUT_HERTZ;
    return std::clamp<int64_t>(step, 0, std::numeric_limits<int32_t>::max());
}

// The frames past the last one a block of `n` output frames from `pos` can
// read, at the faster of its two steps and with the interpolation's
// neighbour: for a sample decoded as it plays, those it must have first.
int64_t frames_reached(uint64_t pos, int32_t channels, int32_t n, int64_t step_a, int64_t step_b)
{
    const int64_t first = static_cast<int64_t>(pos >> 32) / channels;
    return first + ((int64_t{n} * std::max(step_a, step_b)) >> 16) + 2;
}

template <bool Ramp>
bool mix_layout(const mixsample& sample, const uint8_t* data, mixing::block& b)
{
    using namespace mixing;
    if (sample.bits == 16)
        return sample.channels == 2 ? mix_frames<stereo16, Ramp>(data, b)
                                    : mix_frames<mono16, Ramp>(data, b);
    return sample.channels == 2 ? mix_frames<stereo8, Ramp>(data, b)
                                : mix_frames<mono8, Ramp>(data, b);
}

// A streamed sample's block, chunk after chunk: each chunk is mixed as a
// one-shot sample of its own, and the position, the ramp and the rest of the
// block carry over into the next. With no chunk ready the rest of the block
// is silent and the position waits; true only once the stream has ended and
// its last chunk is played out.
template <bool Ramp>
bool mix_stream(const mixsample& sample, mixing::block& b)
{
    mixstream& stream = *sample.stream;
    const uint64_t frame_values = uint64_t{static_cast<uint32_t>(sample.channels)} << 32;
    int32_t* acc = b.acc;
    int32_t left = b.frames;
    for (;;) {
        stream_chunk* c = stream.front();
        while (c && b.pos >= static_cast<uint64_t>(c->frames) * frame_values) {
            b.pos -= static_cast<uint64_t>(c->frames) * frame_values;
            stream.recycle();
            c = stream.front();
        }
        if (!c)
            return stream.exhausted();
        if (left == 0)
            return false;
        b.acc = acc;
        b.frames = left;
        b.end = static_cast<uint64_t>(c->frames) * frame_values;
        b.looping = false;
        if (!mix_layout<Ramp>(sample, c->data, b))
            return false;
        acc += 2 * b.mixed;
        left -= b.mixed;
    }
}

template <bool Ramp>
bool mix_sample(const mixsample& sample, mixing::block& b)
{
    return sample.stream ? mix_stream<Ramp>(sample, b) : mix_layout<Ramp>(sample, sample.data, b);
}

} // namespace

bool sound::paused() const noexcept { return (state.load(relaxed) & SOUND_PAUSED) != 0; }

void sound::set_rate(int32_t rate)
{
    rate_target.store(rate, relaxed);
    if (paused())
        rate_now.store(rate, relaxed);
}

void sound::set_volume(int16_t volume)
{
    volume_target.store(volume, relaxed);
    if (paused())
        volume_now.store(volume, relaxed);
}

void sound::set_pan(int16_t pan)
{
    pan_target.store(pan, relaxed);
    if (paused())
        pan_now.store(pan, relaxed);
}

void sound::set_surround(int16_t surround) { surround_target.store(surround, relaxed); }

int32_t sound::get_rate(int32_t which) const
{
    return (which ? rate_target : rate_now).load(relaxed);
}

int32_t sound::get_volume(int32_t which) const
{
    return (which ? volume_target : volume_now).load(relaxed);
}

int32_t sound::get_pan(int32_t which) const
{
    return (which ? pan_target : pan_now).load(relaxed);
}

int32_t sound::get_surround(int32_t which) const
{
    return (which ? surround_target : surround_now).load(relaxed);
}

void sound::reset_settings(int32_t rate, int16_t volume, int16_t pan, int16_t surround)
{
    rate_now.store(rate, relaxed);
    rate_target.store(rate, relaxed);
    volume_now.store(volume, relaxed);
    volume_target.store(volume, relaxed);
    pan_now.store(pan, relaxed);
    pan_target.store(pan, relaxed);
    surround_now.store(surround, relaxed);
    surround_target.store(surround, relaxed);
}

// Counts the block against the start delay: false when the sound waits the
// whole block, else the frame it begins at and the frames left to mix.
bool sound::begin_block(int32_t& first, int32_t& n)
{
    first = 0;
    if (start_delay >= n) {
        start_delay -= n;
        return false;
    }
    if (start_delay > 0) {
        first = start_delay;
        n -= start_delay;
        start_delay = 0;
    }
    return true;
}

int32_t sound::mix_into(int32_t* accumulator, int32_t count)
{
    const int32_t s = state.load(relaxed);
    if (s == SOUND_STOPPED)
        return MIX_FINISHED;
    if (s & SOUND_PAUSED)
        return MIX_PAUSED;
    if (s == SOUND_DEAD || !sample)
        return MIX_DEAD;
    int32_t first = 0;
    int32_t n = count / 2;
    if (!begin_block(first, n))
        return MIX_GOING;

    const mixsample& smp = *sample;
    mixing::block b{};
    b.acc = accumulator + 2 * first;
    b.frames = n;
    b.pan = pan_target.load(relaxed);
    b.surround = surround_target.load(relaxed);
    if (smp.stream) {
        b.pos = position;
        const bool ended = mix_block(smp, b);
        position = b.pos;
        return ended ? MIX_FINISHED : MIX_GOING;
    }
    const bool looping = s == SOUND_LOOPING;
    const uint64_t end = static_cast<uint64_t>(smp.channels) * static_cast<uint32_t>(smp.frames) << 32;
    // Only a sample without frames, or a finished sound set going again from
    // outside, starts a block at or past its end; neither may read a frame.
    if (end == 0)
        return MIX_FINISHED;
    if (position >= end) {
        if (!looping)
            return MIX_FINISHED;
        position %= end;
    }
    b.pos = position;
    b.end = end;
    b.looping = looping;
    const bool finished = mix_block(smp, b);
    position = b.pos;
    return finished ? MIX_FINISHED : MIX_GOING;
}

// Volume and speed for the block: fixed when already at their targets, else
// ramped linearly across it (the two divisions are the block's only ones).
bool sound::mix_block(const mixsample& smp, mixing::block& b)
{
    const int32_t rate_to = rate_target.load(relaxed);
    const int32_t vol_from = volume_now.load(relaxed);
    const int32_t vol_to = volume_target.load(relaxed);
    const int64_t step_from = frame_step(rate_now.load(relaxed), smp.hertz);
    const int64_t step_to = frame_step(rate_to, smp.hertz);
    b.increment = (step_from * smp.channels) << 16;
    if (smp.fill)
        fill_mixsample(*sample, frames_reached(b.pos, smp.channels, b.frames, step_from, step_to));
    if (vol_from == vol_to && step_from == step_to) {
        // A stream is mixed even when silent, so that it goes through its chunks.
        if (vol_to != 0 || smp.stream) {
            b.volume_acc = vol_to * 256;
            return mix_sample<false>(smp, b);
        }
        // Silent: the position moves on and nothing is added.
        volume_now.store(0, relaxed);
        b.pos += static_cast<uint64_t>(b.frames) * static_cast<uint64_t>(b.increment);
        if (b.pos < b.end)
            return false;
        if (!b.looping)
            return true;
        b.pos %= b.end;
        return false;
    }
    b.volume_acc = vol_from * 256;
    b.volume_step = (vol_to * 256 - vol_from * 256) / b.frames;
    b.increment_step = (((step_to * smp.channels) << 16) - b.increment) / b.frames;
    volume_now.store(static_cast<int16_t>(vol_to), relaxed);
    rate_now.store(rate_to, relaxed);
    return mix_sample<true>(smp, b);
}

} // namespace vantrel
