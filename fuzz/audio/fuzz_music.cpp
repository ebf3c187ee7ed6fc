// The readers of streamed music over arbitrary bytes: whatever opens is
// decoded chunk by chunk into its ring and mixed, looping when the input's
// length is odd, for as many rounds as a short input can take; a reader's
// chunk ring never holds more than its fixed size.
#include "assets/stream.h"
#include "audio/mixer/mixer.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/mixstream.h"
#include "audio/ogg.h"
#include "audio/stream_decoder.h"
#include "audio/stream_reader.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vantrel;
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return 0;
#if VANTREL_HAVE_VORBIS
    static const bool ogg_ready = (ogg_loader_init(), true);
    (void)ogg_ready;
#endif
    Ref<TObject> stream = create_memory_stream(data, static_cast<int32_t>(size), 1, 0);
    std::unique_ptr<stream_reader> reader = open_stream_reader(stream);
    if (!reader)
        return 0;
    const int32_t format = reader->format;
    const int32_t hertz = reader->hertz;
    const int32_t channels = sample_channels(format);
    if (channels == 0)
        __builtin_trap(); // a reader must give a format the mixer plays
    const bool loop = size % 2 == 1;
    stream_job job(std::move(reader), Ref<TObject>(), format, loop);
    mixsample* sample =
        create_stream_mixsample(sample_frame_bytes(format) * 8 / channels, channels, hertz, loop, &job.stream);
    if (!sample)
        __builtin_trap();
    mixer m(1024);
    m.rate = 44100;
    m.channels = 2;
    if (sound* s = m.play(sample, nullptr, loop ? SOUND_LOOPING : SOUND_PLAYING)) {
        s->queued_ms -= 1000; // sounds from the first block
        s->set_rate(hertz);
    }
    std::vector<int16_t> out(1024);
    for (int i = 0; i < 24; ++i) {
        fill_stream(job);
        m.mix_s16(out.data(), 0);
    }
    if (mixstream_bytes() > job.stream.bytes())
        __builtin_trap();
    m.retire_all();
    release_mixsample(sample);
    return 0;
}
