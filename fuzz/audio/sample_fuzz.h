// What the sample loaders' fuzz targets do with a buffer that loaded: read
// it in full (so uninitialised or missing bytes show up under the
// sanitizers), convert it through the pivot format, and mix it for a few
// blocks, which carries hostile sample rates and sizes into the mixer.
#pragma once

#include "audio/mixer/mixer.h"
#include "audio/mixer/mixsample.h"
#include "audio/sample_buffer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel::fuzz {

inline void mix_a_little(const Ref<TSampleBuffer>& b)
{
    const int32_t channels = sample_channels(b->format);
    if (channels == 0)
        return;
    const int32_t bits = sample_frame_bytes(b->format) * 8 / channels;
    mixsample* sample = create_mixsample(b->frames, bits, channels, b->hertz, b->data, b->frames % 2);
    if (!sample)
        return;
    mixer m(1024);
    m.rate = 44100;
    m.channels = 2;
    if (sound* s = m.play(sample, nullptr, sample->loop ? SOUND_LOOPING : SOUND_PLAYING)) {
        s->queued_ms -= 1000; // sounds from the first block
        s->set_rate(b->hertz);
    }
    std::vector<int16_t> out(1024);
    for (int i = 0; i < 4; ++i)
        m.mix_s16(out.data(), 0);
    release_mixsample(sample);
}

// Returns non-zero only to keep the reads from being optimised away.
inline int exercise_buffer(const Ref<TSampleBuffer>& buffer)
{
    uint32_t sum = 0;
    for (int32_t i = 0; i < buffer->capacity; ++i)
        sum += buffer->data[i];
    if (sum == 0xFFFFFFFFu)
        return 1;
    buffer->convert(SAMPLE_STEREO16_BE);
    mix_a_little(buffer);
    return 0;
}

} // namespace vantrel::fuzz
