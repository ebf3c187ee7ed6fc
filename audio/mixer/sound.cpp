// A sound's settings and its per-block mix.
#include "audio/mixer/sound.h"

#include "audio/mixer/mix_frames.h"
#include "audio/mixer/mixsample.h"

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

template <bool Ramp>
bool mix_layout(const mixsample& sample, mixing::block& b)
{
    using namespace mixing;
    if (sample.bits == 16)
        return sample.channels == 2 ? mix_frames<stereo16, Ramp>(sample.data, b)
                                    : mix_frames<mono16, Ramp>(sample.data, b);
    return sample.channels == 2 ? mix_frames<stereo8, Ramp>(sample.data, b)
                                : mix_frames<mono8, Ramp>(sample.data, b);
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

int32_t sound::mix_into(int32_t* accumulator, int32_t count)
{
    const int32_t s = state.load(relaxed);
    if (s == SOUND_STOPPED)
        return MIX_FINISHED;
    if (s & SOUND_PAUSED)
        return MIX_PAUSED;
    if (s == SOUND_DEAD || !sample)
        return MIX_DEAD;

    int32_t n = count / 2;
    int32_t first = 0;
    if (start_delay >= n) {
        start_delay -= n;
        return MIX_GOING;
    }
    if (start_delay > 0) {
        first = start_delay;
        n -= start_delay;
        start_delay = 0;
    }

    const mixsample& smp = *sample;
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

    const int32_t rate_from = rate_now.load(relaxed);
    const int32_t rate_to = rate_target.load(relaxed);
    const int32_t vol_from = volume_now.load(relaxed);
    const int32_t vol_to = volume_target.load(relaxed);
    const int64_t step_from = frame_step(rate_from, smp.hertz);
    const int64_t step_to = frame_step(rate_to, smp.hertz);

    mixing::block b{};
    b.acc = accumulator + 2 * first;
    b.frames = n;
    b.pos = position;
    b.end = end;
    b.looping = looping;
    b.increment = (step_from * smp.channels) << 16;
    b.pan = pan_target.load(relaxed);
    b.surround = surround_target.load(relaxed);

    bool finished;
    if (vol_from == vol_to && step_from == step_to) {
        if (vol_to == 0) {
            // Silent: move the position on without touching the accumulator.
            volume_now.store(0, relaxed);
            b.pos += static_cast<uint64_t>(n) * static_cast<uint64_t>(b.increment);
            finished = b.pos >= end && !looping;
            if (b.pos >= end && looping)
                b.pos %= end;
        } else {
            b.volume_acc = vol_to * 256;
            finished = mix_layout<false>(smp, b);
        }
    } else {
        b.volume_acc = vol_from * 256;
        b.volume_step = (vol_to * 256 - vol_from * 256) / n;
        b.increment_step = (((step_to * smp.channels) << 16) - b.increment) / n;
        volume_now.store(static_cast<int16_t>(vol_to), relaxed);
        rate_now.store(rate_to, relaxed);
        finished = mix_layout<true>(smp, b);
    }
    position = b.pos;
    return finished ? MIX_FINISHED : MIX_GOING;
}

} // namespace vantrel
