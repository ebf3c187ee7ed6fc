// load_sample_buffer over arbitrary bytes in a memory stream. Whatever loads
// is read in full (so uninitialised or missing bytes show up under the
// sanitizers), converted through the pivot format, and mixed for a few
// blocks, which carries hostile sample rates and sizes into the mixer.
#include "assets/stream.h"
#include "audio/mixer/mixer.h"
#include "audio/mixer/mixsample.h"
#include "audio/sample_loader.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

using namespace vantrel;

void mix_a_little(const Ref<TSampleBuffer>& b)
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        streams_init();
        sample_loaders_init();
        return true;
    }();
    (void)ready;
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return 0;
    Ref<TByteStream> stream = create_memory_stream(data, static_cast<int32_t>(size), 1, 0);
    Ref<TSampleBuffer> buffer = load_sample_buffer(Ref<TObject>(stream));
    if (!buffer)
        return 0;
    if (static_cast<size_t>(buffer->capacity) > size)
        __builtin_trap(); // more memory than the stream could fill
    uint32_t sum = 0;
    for (int32_t i = 0; i < buffer->capacity; ++i)
        sum += buffer->data[i];
    if (sum == 0xFFFFFFFFu) // keeps the reads from being optimised away
        return 1;
    buffer->convert(SAMPLE_STEREO16_BE);
    mix_a_little(buffer);
    return 0;
}
