// Reading RIFF WAVE files.
//
// Every size in the file is checked before it is used: a negative chunk size
// gives up (skipping backwards could loop for ever), a data chunk never
// allocates more than the stream still holds when the stream knows its size,
// and frames that the stream does not deliver are silence.
#include "audio/wav_loader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vantrel {
namespace {

using Tag = std::string_view;

// Four bytes as a tag; missing bytes at the end of the stream read as 0.
struct ChunkTag {
    char bytes[4] = {};
    bool is(Tag tag) const { return Tag(bytes, 4) == tag; }
};

ChunkTag read_tag(TByteStream& s)
{
    ChunkTag tag;
    s.read_bytes(tag.bytes, 4);
    return tag;
}

int32_t choose_format(int32_t channels, int32_t bits)
{
    if (bits == 8 && channels == 1)
        return SAMPLE_MONO8;
    if (bits == 8 && channels == 2)
        return SAMPLE_STEREO8;
    if (bits == 16 && channels == 1)
        return SAMPLE_MONO16_LE;
    if (bits == 16 && channels == 2)
        return SAMPLE_STEREO16_LE;
    return SAMPLE_NONE;
}

// Reads the format chunk's fields; SAMPLE_NONE when they are not PCM the
// mixer can take.
int32_t read_format(TByteStream& s, int32_t& hertz)
{
    const int32_t fmt_size = s.read_int();
    if (s.read_short() != 1)
        return SAMPLE_NONE;
    const int32_t channels = s.read_short();
    hertz = s.read_int();
    s.read_int();   // byte rate
    s.read_short(); // block alignment
    const int32_t bits = s.read_short();
    const int32_t format = choose_format(channels, bits);
    if (format != SAMPLE_NONE && fmt_size > 16)
        s.skip_bytes(fmt_size - 16);
    return format;
}

// The bytes the stream can still deliver, or -1 when it cannot tell.
int64_t remaining(TByteStream& s)
{
    const int32_t size = s.size();
    const int32_t at = s.pos();
    return size >= 0 && at >= 0 ? std::max<int64_t>(0, int64_t{size} - at) : -1;
}

Ref<TSampleBuffer> read_data(TByteStream& s, int32_t size, int32_t hertz, int32_t format)
{
    const int32_t frame = SAMPLE_FRAME_BYTES[format];
    int64_t bytes = size;
    if (const int64_t left = remaining(s); left >= 0)
        bytes = std::min(bytes, left);
    const int32_t frames = static_cast<int32_t>(bytes / frame);
    Ref<TSampleBuffer> buffer = create_sample_buffer(frames, hertz, format);
    const int32_t wanted = frames * frame;
    const uint8_t silence = format == SAMPLE_MONO8 || format == SAMPLE_STEREO8 ? 128 : 0;
    const int32_t start = s.pos();
    if (start < 0)
        std::memset(buffer->data, silence, static_cast<size_t>(wanted));
    s.read_bytes(buffer->data, wanted);
    if (start >= 0) {
        const int32_t got = std::clamp(s.pos() - start, 0, wanted);
        std::memset(buffer->data + got, silence, static_cast<size_t>(wanted - got));
    }
    return buffer;
}

} // namespace

Ref<TSampleBuffer> TWavLoader::load(const Ref<TByteStream>& stream)
{
    const Ref<TByteStream> view = little_endian_view(stream);
    TByteStream& s = *view;
    if (!read_tag(s).is("RIFF"))
        return {};
    s.read_int(); // RIFF size: not trusted, not needed
    if (!read_tag(s).is("WAVE") || !read_tag(s).is("fmt "))
        return {};
    int32_t hertz = 0;
    const int32_t format = read_format(s, hertz);
    if (format == SAMPLE_NONE)
        return {};
    while (s.eof() == 0) {
        const ChunkTag tag = read_tag(s);
        const int32_t size = s.read_int();
        if (size < 0)
            return {};
        if (tag.is("data"))
            return read_data(s, size, hertz, format);
        s.skip_bytes(size); // no pad byte after an odd size
    }
    return {};
}

} // namespace vantrel
