// Sample buffers: decoded PCM frames in memory, in one of six formats.
//
// A frame holds one sample point of every channel, left first. 8-bit samples
// are unsigned with 128 as silence, 16-bit samples signed. Every size in the
// audio layer comes from the two format tables below. Conversions between
// formats go through big-endian stereo 16-bit, the pivot format.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <memory>

namespace vantrel {

constexpr int32_t SAMPLE_NONE = 0;
constexpr int32_t SAMPLE_MONO8 = 1;
constexpr int32_t SAMPLE_MONO16_LE = 2;
constexpr int32_t SAMPLE_MONO16_BE = 3;
constexpr int32_t SAMPLE_STEREO8 = 4;
constexpr int32_t SAMPLE_STEREO16_LE = 5;
constexpr int32_t SAMPLE_STEREO16_BE = 6;
constexpr int32_t SAMPLE_FORMAT_COUNT = 7;

inline constexpr int32_t SAMPLE_FRAME_BYTES[SAMPLE_FORMAT_COUNT] = {0, 1, 2, 2, 2, 4, 4};
inline constexpr int32_t SAMPLE_CHANNELS[SAMPLE_FORMAT_COUNT] = {0, 1, 1, 1, 2, 2, 2};

// The table entries, 0 for a code outside the table.
constexpr int32_t sample_frame_bytes(int32_t format)
{
    return format >= 0 && format < SAMPLE_FORMAT_COUNT ? SAMPLE_FRAME_BYTES[format] : 0;
}
constexpr int32_t sample_channels(int32_t format)
{
    return format >= 0 && format < SAMPLE_FORMAT_COUNT ? SAMPLE_CHANNELS[format] : 0;
}

class TSampleBuffer final : public TObject {
public:
    // Use create_sample_buffer or wrap_samples.
    TSampleBuffer(uint8_t* data, int32_t frames, int32_t hertz, int32_t format, int32_t capacity,
                  std::unique_ptr<uint8_t[]> owned);

    // A new owned buffer with the same frames, rate and format.
    Ref<TSampleBuffer> copy() const;
    // A new owned buffer with the same frames and rate in `target` format.
    Ref<TSampleBuffer> convert(int32_t target) const;

    uint8_t* data;    // first byte of frame 0
    int32_t frames;
    int32_t hertz;
    int32_t format;
    int32_t capacity; // bytes owned, or -1 when the memory is someone else's

private:
    std::unique_ptr<uint8_t[]> owned_;
};

// An owned buffer of `frames` frames whose bytes are not initialised. A
// negative frame count, or a size past 2^31 bytes, is a runtime error.
Ref<TSampleBuffer> create_sample_buffer(int32_t frames, int32_t hertz, int32_t format);

// A buffer over memory the caller owns and keeps alive.
Ref<TSampleBuffer> wrap_samples(void* data, int32_t frames, int32_t hertz, int32_t format);

// Converts `frames` frames; formats outside the table raise "Unimplemented
// sample format conversion" unless both are the same.
void convert_samples(const uint8_t* source, int32_t source_format, uint8_t* destination,
                     int32_t destination_format, int32_t frames);

} // namespace vantrel
