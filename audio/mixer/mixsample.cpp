// Creating and releasing mixer samples.
#include "audio/mixer/mixsample.h"

#include "audio/mixer/mixstream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vantrel {

namespace {

// Looping interpolates from the last frame into the first; a one-shot sound
// holds its last frame.
void write_guard(mixsample& sample)
{
    uint8_t* guard = sample.data + sample.size;
    const auto frame = static_cast<size_t>(sample.bytes_per_frame);
    if (sample.frames == 0)
        std::memset(guard, sample.bits == 8 ? 128 : 0, frame);
    else if (sample.loop)
        std::memcpy(guard, sample.data, frame);
    else
        std::memcpy(guard, guard - frame, frame);
}

} // namespace

mixsample* create_mixsample(int32_t frames, int32_t bits, int32_t channels, int32_t hertz,
                            const void* frame_data, int32_t loop)
{
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || frames < 0)
        return nullptr;
    const int64_t bytes_per_frame = channels * std::max(bits, 8) / 8;
    const int64_t size = int64_t{frames} * bytes_per_frame;
    // Positions index sample values with a signed 32-bit integer part.
    if (int64_t{frames} * channels > std::numeric_limits<int32_t>::max())
        return nullptr;

    auto sample = std::make_unique<mixsample>();
    sample->hertz = hertz;
    sample->channels = channels;
    sample->bits = bits;
    sample->frames = frames;
    sample->bytes_per_frame = static_cast<int32_t>(bytes_per_frame);
    sample->size = static_cast<uint32_t>(size);
    const size_t total = static_cast<size_t>(size + bytes_per_frame);
    if (frame_data) {
        sample->storage = std::make_unique_for_overwrite<uint8_t[]>(total);
        std::memcpy(sample->storage.get(), frame_data, static_cast<size_t>(size));
    } else {
        sample->storage = std::make_unique<uint8_t[]>(total);
        if (bits == 8)
            std::memset(sample->storage.get(), 128, total);
    }
    sample->data = sample->storage.get();
    sample->loop = loop;
    write_guard(*sample);
    return sample.release();
}

mixsample* create_filled_mixsample(int32_t frames, int32_t bits, int32_t channels, int32_t hertz,
                                   std::unique_ptr<mixfill> fill, int32_t loop)
{
    if (!fill)
        return nullptr;
    mixsample* sample = create_mixsample(frames, bits, channels, hertz, nullptr, loop);
    if (sample && frames > 0)
        sample->fill = std::move(fill);
    return sample;
}

void fill_mixsample(mixsample& sample, int64_t frames)
{
    if (!sample.fill)
        return;
    const auto upto = static_cast<int32_t>(std::clamp<int64_t>(frames, 0, sample.frames));
    while (sample.ready < upto) {
        const int32_t got = sample.fill->read(
            sample.data + static_cast<size_t>(sample.ready) * static_cast<size_t>(sample.bytes_per_frame),
            upto - sample.ready);
        if (got <= 0) {
            sample.ready = sample.frames; // the rest stays silent
            break;
        }
        sample.ready += std::min(got, upto - sample.ready);
    }
    if (sample.ready == sample.frames) {
        sample.fill.reset();
        write_guard(sample);
    }
}

mixsample* create_stream_mixsample(int32_t bits, int32_t channels, int32_t hertz, int32_t loop,
                                   mixstream* stream)
{
    if ((channels != 1 && channels != 2) || (bits != 8 && bits != 16) || !stream ||
        stream->bytes_per_frame() != channels * bits / 8)
        return nullptr;
    auto sample = std::make_unique<mixsample>();
    sample->hertz = hertz;
    sample->channels = channels;
    sample->bits = bits;
    sample->bytes_per_frame = channels * bits / 8;
    sample->loop = loop;
    sample->stream = stream;
    return sample.release();
}

void retain_mixsample(mixsample* sample)
{
    if (sample)
        sample->refcount.fetch_add(1, std::memory_order_relaxed);
}

void release_mixsample(mixsample* sample)
{
    if (sample && sample->refcount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        std::unique_ptr<mixsample> last(sample);
        if (last->stream)
            last->stream->detach();
    }
}

} // namespace vantrel
