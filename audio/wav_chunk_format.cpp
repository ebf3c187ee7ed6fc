// Format chunks: plain, with an extension size, and extensible (whose
// sub-format GUID names the real encoding).
#include "audio/wav_chunk_format.h"

#include "assets/loader_input.h"
#include "audio/sample_buffer.h"
#include "audio/wav_chunk_loader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace vantrel::wav_detail {

namespace {

constexpr int32_t TAG_PCM = 1;
constexpr int32_t TAG_FLOAT = 3;
constexpr int32_t TAG_EXTENSIBLE = 0xFFFE;
// The sub-format GUID after its first two bytes, which hold the tag.
constexpr uint8_t GUID_TAIL[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

int32_t u16(const uint8_t* p) { return p[0] | p[1] << 8; }
int32_t s32(const uint8_t* p)
{
    return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                                uint32_t{p[3]} << 24);
}

// The tag an extensible header stands for; 0 when it is none.
int32_t extensible_tag(const uint8_t* body, uint32_t size)
{
    if (size < 40 || u16(body + 16) < 22)
        return 0;
    const int32_t valid_bits = u16(body + 18);
    if (valid_bits > u16(body + 14) || std::memcmp(body + 26, GUID_TAIL, sizeof GUID_TAIL) != 0)
        return 0;
    return u16(body + 24);
}

bool sample_size_fits(int32_t tag, int32_t bytes)
{
    return tag == TAG_FLOAT ? bytes == 4 || bytes == 8 : bytes >= 1 && bytes <= 4;
}

uint64_t le_bits(const uint8_t* p, int32_t bytes)
{
    uint64_t v = 0;
    for (int32_t i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

int16_t from_float(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
}

} // namespace

bool read_format_chunk(TByteStream& s, uint32_t size, WavFormat& format)
{
    uint8_t body[40] = {};
    if (size < 16 || !read_exactly(s, body, static_cast<int32_t>(std::min<uint32_t>(size, 40))))
        return false;
    if (size > 40)
        s.skip_bytes(static_cast<int32_t>(size - 40));
    int32_t tag = u16(body);
    if (tag == TAG_EXTENSIBLE)
        tag = extensible_tag(body, size);
    format.channels = u16(body + 2);
    format.hertz = s32(body + 4);
    const int32_t block = u16(body + 12);
    const int32_t bits = u16(body + 14);
    format.bytes_per_sample = (bits + 7) / 8;
    if ((tag != TAG_PCM && tag != TAG_FLOAT) || format.channels < 1 || format.channels > 2 ||
        format.hertz < 1 || format.hertz > WAV_MAX_HERTZ ||
        !sample_size_fits(tag, format.bytes_per_sample) ||
        block != format.channels * format.bytes_per_sample)
        return false;
    format.encoding = tag == TAG_FLOAT ? Encoding::floating : Encoding::integer;
    const bool eight = tag == TAG_PCM && format.bytes_per_sample == 1;
    format.sample_format = format.channels == 1 ? (eight ? SAMPLE_MONO8 : SAMPLE_MONO16_LE)
                                                : (eight ? SAMPLE_STEREO8 : SAMPLE_STEREO16_LE);
    return true;
}

void convert_run(const WavFormat& f, const uint8_t* in, uint8_t* out, int32_t samples)
{
    // An empty run may come with no buffers at all, and memcpy takes none.
    if (samples <= 0)
        return;
    const int32_t size = f.bytes_per_sample;
    if (f.encoding == Encoding::integer && size == 1) {
        std::memcpy(out, in, static_cast<size_t>(samples));
        return;
    }
    for (int32_t i = 0; i < samples; ++i, in += size, out += 2) {
        int16_t v;
        if (f.encoding == Encoding::floating && size == 4) {
            v = from_float(std::bit_cast<float>(static_cast<uint32_t>(le_bits(in, 4))));
        } else if (f.encoding == Encoding::floating) {
            v = from_float(std::bit_cast<double>(le_bits(in, 8)));
        } else {
            v = static_cast<int16_t>(in[size - 1] << 8 | (size > 1 ? in[size - 2] : 0));
        }
        out[0] = static_cast<uint8_t>(v), out[1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
    }
}

} // namespace vantrel::wav_detail
