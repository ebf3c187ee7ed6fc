// Decoding Ogg Vorbis through libvorbisfile into 16-bit little-endian PCM.
//
// The decoded bytes go into a vector that grows as they arrive, so a header
// or granule position that claims hours of sound reserves nothing; the
// limits stop a small file that really does decode to a flood.
#include "audio/ogg/ogg_loader.h"

#include "assets/loader_input.h"
#include "audio/ogg/ogg_file.h"
#include "audio/stream_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace vantrel {

using ogg_detail::OggInput;
using ogg_detail::PcmShape;
using ogg_detail::VorbisFile;
using ogg_detail::format_of;
using ogg_detail::has_ogg_signature;
using ogg_detail::rewind;
using ogg_detail::shape_of;

namespace {

constexpr int32_t READ_CHUNK = 16384;

int64_t output_limit(int64_t input_size)
{
    if (input_size < 0)
        return OGG_MAX_BYTES;
    return std::min(OGG_MAX_BYTES, (input_size + 1) * OGG_BYTES_PER_INPUT_BYTE);
}

// Every link decoded in turn; false for damaged data, a change of shape or
// output beyond the limit.
bool decode_all(OggVorbis_File* file, const PcmShape& shape, int64_t limit,
                std::vector<uint8_t>& pcm)
{
    for (;;) {
        const size_t used = pcm.size();
        pcm.resize(used + READ_CHUNK);
        int link = 0;
        const long got = ov_read(file, reinterpret_cast<char*>(pcm.data() + used), READ_CHUNK,
                                 0 /* little-endian */, 2, 1, &link);
        pcm.resize(used + static_cast<size_t>(std::max(got, 0L)));
        if (got == 0)
            return true;
        if (got < 0 || shape_of(file, link) != shape || static_cast<int64_t>(pcm.size()) > limit)
            return false;
    }
}

// A damaged page is dropped without a word; where the stream's end could be
// read, its position says how many frames there should have been.
bool all_pages_decoded(OggVorbis_File* file, int64_t frames)
{
    return ov_seekable(file) == 0 || ov_pcm_total(file, -1) == frames;
}

Ref<TSampleBuffer> make_buffer(const std::vector<uint8_t>& pcm, int32_t hertz, int32_t format)
{
    const int32_t frame = SAMPLE_FRAME_BYTES[format];
    const auto frames = static_cast<int32_t>(pcm.size() / static_cast<size_t>(frame));
    Ref<TSampleBuffer> buffer = create_sample_buffer(frames, hertz, format);
    std::memcpy(buffer->data, pcm.data(), static_cast<size_t>(frames) * static_cast<size_t>(frame));
    return buffer;
}

Ref<TSampleBuffer> decode(OggInput& input)
{
    if (input.size >= 0 && !ends_with_final_page(input))
        return {}; // cut short
    const VorbisFile file(input);
    if (!file.open() || !rewind(file.get()))
        return {};
    const PcmShape shape = shape_of(file.get(), -1);
    const int32_t format = format_of(shape);
    std::vector<uint8_t> pcm;
    if (format == SAMPLE_NONE || !decode_all(file.get(), shape, output_limit(input.size), pcm))
        return {};
    const auto frames = static_cast<int64_t>(pcm.size()) / SAMPLE_FRAME_BYTES[format];
    if (frames == 0 || !all_pages_decoded(file.get(), frames))
        return {};
    return make_buffer(pcm, static_cast<int32_t>(shape.rate), format);
}

} // namespace

Ref<TSampleBuffer> TOggLoader::load(const Ref<TByteStream>& stream)
{
    OggInput input;
    input.stream = stream.get();
    input.start = stream->pos();
    if (input.start < 0 || !has_ogg_signature(*stream))
        return {};
    stream->seek(input.start);
    input.size = stream_bytes_left(*stream);
    Ref<TSampleBuffer> buffer = decode(input);
    if (input.failure)
        std::rethrow_exception(input.failure);
    return buffer;
}

std::unique_ptr<stream_reader> TOggLoader::open_deferred(const Ref<TByteStream>& stream)
{
    const int64_t size = stream_bytes_left(*stream);
    std::unique_ptr<stream_reader> reader = open_ogg_reader(stream);
    if (!reader || size < 0 ||
        reader->total_frames * SAMPLE_FRAME_BYTES[reader->format] > output_limit(size))
        return {};
    return reader;
}

} // namespace vantrel
