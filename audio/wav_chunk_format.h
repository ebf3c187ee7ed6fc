// The format chunk as the second WAV reader understands it, and the
// conversion of one run of its samples to the engine's nearest format.
#pragma once

#include "assets/stream.h"

#include <cstdint>

namespace vantrel::wav_detail {

enum class Encoding { integer, floating };

struct WavFormat {
    Encoding encoding = Encoding::integer;
    int32_t channels = 0;
    int32_t hertz = 0;
    int32_t bytes_per_sample = 0; // as stored: 1 to 4, or 4 and 8 for floats
    int32_t sample_format = 0;    // SAMPLE_* the frames load as
};

// Reads a format chunk's body of `size` bytes. False when it is not one this
// reader takes.
bool read_format_chunk(TByteStream& s, uint32_t size, WavFormat& format);

// Walks a RIFF WAVE file from its start to its data chunk: true with the
// format read and the stream at the first data byte, `data_size` the size
// the chunk claims. False when the file is not one this reader takes.
bool find_data_chunk(TByteStream& s, WavFormat& format, uint32_t& data_size);

// Converts `samples` stored samples to the loaded format (1 or 2 bytes each).
void convert_run(const WavFormat& format, const uint8_t* in, uint8_t* out, int32_t samples);

} // namespace vantrel::wav_detail
