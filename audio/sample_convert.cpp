// Format conversion through the pivot format, big-endian stereo 16-bit.
//
// 8-bit values widen as u * 257 - 32768 (0, 128 and 255 become -32768, 128
// and 32767) and narrow as (v + 32768) / 257, which returns every byte
// unchanged. Stereo folds to mono as the mean truncated toward zero.
#include "audio/sample_buffer.h"

#include "core/error.h"

#include <cstring>
#include <memory>

namespace vantrel {
namespace {

int32_t get_le(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }
int32_t get_be(const uint8_t* p) { return static_cast<int16_t>(p[0] << 8 | p[1]); }
int32_t widen(uint8_t u) { return u * 257 - 32768; }
uint8_t narrow(int32_t v) { return static_cast<uint8_t>((v + 32768) / 257); }

void put_le(uint8_t* p, int32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put_be(uint8_t* p, int32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

void to_pivot(const uint8_t* src, int32_t format, uint8_t* dst, int32_t frames)
{
    const int32_t step = sample_frame_bytes(format);
    for (int32_t i = 0; i < frames; ++i, src += step, dst += 4) {
        int32_t l = 0, r = 0;
        switch (format) {
        case SAMPLE_MONO8: l = r = widen(src[0]); break;
        case SAMPLE_MONO16_LE: l = r = get_le(src); break;
        case SAMPLE_MONO16_BE: l = r = get_be(src); break;
        case SAMPLE_STEREO8: l = widen(src[0]); r = widen(src[1]); break;
        case SAMPLE_STEREO16_LE: l = get_le(src); r = get_le(src + 2); break;
        default: raise_error(u"Unimplemented sample format conversion");
        }
        put_be(dst, l);
        put_be(dst + 2, r);
    }
}

void from_pivot(const uint8_t* src, uint8_t* dst, int32_t format, int32_t frames)
{
    const int32_t step = sample_frame_bytes(format);
    for (int32_t i = 0; i < frames; ++i, src += 4, dst += step) {
        const int32_t l = get_be(src);
        const int32_t r = get_be(src + 2);
        const int32_t m = (l + r) / 2;
        switch (format) {
        case SAMPLE_MONO8: dst[0] = narrow(m); break;
        case SAMPLE_MONO16_LE: put_le(dst, m); break;
        case SAMPLE_MONO16_BE: put_be(dst, m); break;
        case SAMPLE_STEREO8: dst[0] = narrow(l); dst[1] = narrow(r); break;
        case SAMPLE_STEREO16_LE: put_le(dst, l); put_le(dst + 2, r); break;
        default: raise_error(u"Unimplemented sample format conversion");
        }
    }
}

bool known(int32_t format) { return format >= SAMPLE_MONO8 && format <= SAMPLE_STEREO16_BE; }

} // namespace

void convert_samples(const uint8_t* source, int32_t source_format, uint8_t* destination,
                     int32_t destination_format, int32_t frames)
{
    if (frames < 0)
        frames = 0;
    if (source_format == destination_format) {
        std::memcpy(destination, source,
                    static_cast<size_t>(frames) * static_cast<size_t>(sample_frame_bytes(source_format)));
        return;
    }
    if (!known(source_format) || !known(destination_format))
        raise_error(u"Unimplemented sample format conversion");
    if (source_format == SAMPLE_STEREO16_BE) {
        from_pivot(source, destination, destination_format, frames);
    } else if (destination_format == SAMPLE_STEREO16_BE) {
        to_pivot(source, source_format, destination, frames);
    } else {
        auto scratch = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(frames) * 4);
        to_pivot(source, source_format, scratch.get(), frames);
        from_pivot(scratch.get(), destination, destination_format, frames);
    }
}

} // namespace vantrel
