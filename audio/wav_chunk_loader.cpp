// Walking a RIFF WAVE file chunk by chunk. Sizes are unsigned 32-bit and
// checked before use; the data is read and converted in runs, so memory
// grows with the bytes that arrive, never with what a header claims.
#include "audio/wav_chunk_loader.h"

#include "assets/loader_input.h"
#include "audio/wav_chunk_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vantrel {

using wav_detail::WavFormat;

namespace {

constexpr int32_t RUN_BYTES = 64 * 1024;

struct Chunk {
    char tag[4] = {};
    uint32_t size = 0;
    bool is(const char* t) const { return std::memcmp(tag, t, 4) == 0; }
};

bool read_chunk_header(TByteStream& s, Chunk& chunk)
{
    uint8_t size[4];
    if (!read_exactly(s, chunk.tag, 4) || !read_exactly(s, size, 4))
        return false;
    chunk.size = uint32_t{size[0]} | uint32_t{size[1]} << 8 | uint32_t{size[2]} << 16 |
                 uint32_t{size[3]} << 24;
    return true;
}

// Skips a chunk's body and its pad byte; false past the end of the stream.
bool skip_chunk(TByteStream& s, uint32_t size)
{
    const uint64_t padded = uint64_t{size} + (size & 1);
    const int64_t left = stream_bytes_left(s);
    if (left >= 0 && static_cast<int64_t>(padded) > left)
        return false;
    for (uint64_t rest = padded; rest > 0;) {
        const auto step = static_cast<int32_t>(std::min<uint64_t>(rest, 1u << 30));
        s.skip_bytes(step);
        rest -= static_cast<uint64_t>(step);
    }
    return true;
}

// The whole frames of the data chunk that arrive, converted.
Ref<TSampleBuffer> read_frames(TByteStream& s, uint32_t size, const WavFormat& f)
{
    const int32_t frame_in = f.channels * f.bytes_per_sample;
    const int32_t frame_out = sample_frame_bytes(f.sample_format);
    const int32_t run_frames = RUN_BYTES / frame_in;
    std::vector<uint8_t> in(static_cast<size_t>(run_frames * frame_in));
    std::vector<uint8_t> out;
    int64_t frames_left = size / static_cast<uint32_t>(frame_in);
    while (frames_left > 0) {
        const auto want = static_cast<int32_t>(std::min<int64_t>(frames_left, run_frames));
        const int32_t got = read_up_to(s, in.data(), want * frame_in) / frame_in;
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(got * frame_out));
        wav_detail::convert_run(f, in.data(), out.data() + at, got * f.channels);
        if (got < want)
            break;
        frames_left -= got;
    }
    const auto frames = static_cast<int32_t>(out.size() / static_cast<size_t>(frame_out));
    if (frames == 0)
        return {};
    Ref<TSampleBuffer> buffer = create_sample_buffer(frames, f.hertz, f.sample_format);
    std::memcpy(buffer->data, out.data(), out.size());
    return buffer;
}

} // namespace

namespace wav_detail {

bool find_data_chunk(TByteStream& s, WavFormat& format, uint32_t& data_size)
{
    Chunk riff;
    char wave[4];
    if (!read_chunk_header(s, riff) || !riff.is("RIFF") || !read_exactly(s, wave, 4) ||
        std::memcmp(wave, "WAVE", 4) != 0)
        return false;
    bool have_format = false;
    for (Chunk chunk; read_chunk_header(s, chunk);) {
        if (chunk.is("data")) {
            data_size = chunk.size;
            return have_format;
        }
        if (chunk.is("fmt ") && !have_format) {
            if (!read_format_chunk(s, chunk.size, format))
                return false;
            have_format = true;
            if (chunk.size & 1)
                s.skip_bytes(1);
        } else if (!skip_chunk(s, chunk.size)) {
            return false;
        }
    }
    return false;
}

} // namespace wav_detail

Ref<TSampleBuffer> TWavChunkLoader::load(const Ref<TByteStream>& stream)
{
    const Ref<TByteStream> view = little_endian_view(stream);
    WavFormat format;
    uint32_t size = 0;
    if (!wav_detail::find_data_chunk(*view, format, size))
        return {};
    return read_frames(*view, size, format);
}

} // namespace vantrel
