// The music loops' file format: 16-bit stereo PCM RIFF WAVE at 22050 Hz with
// the "fmt " chunk right after "WAVE", the "data" chunk next and an optional
// LIST/INFO title after the samples. Writing is fixed to that layout; the
// parser is general enough to check any file against it.
#pragma once

#include "common/byte_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::assetgen {

inline constexpr int kWavRate = 22050;

// Interleaved left/right 16-bit samples, as stored in the file.
using StereoPcm = std::vector<int16_t>;

// Encodes frames (interleaved, even length) with an INAM title when the title
// is not empty.
Bytes encode_wav(const StereoPcm& samples, const std::string& title);

struct WavChunk {
    std::string tag;
    uint32_t offset = 0;  // of the chunk's payload
    uint32_t size = 0;
};

struct WavInfo {
    std::vector<WavChunk> chunks;  // in file order, after "RIFF"/"WAVE"
    uint32_t riff_size = 0;
    uint32_t fmt_size = 0;
    uint32_t format_tag = 0;
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint32_t byte_rate = 0;
    uint32_t block_align = 0;
    uint32_t bits = 0;
    std::vector<int16_t> samples;  // the data chunk as 16-bit words
    std::string title;             // LIST/INFO/INAM, without its terminator
};

// Walks the chunk structure; nothing when the bytes are not RIFF WAVE or a
// chunk runs past the end.
std::optional<WavInfo> parse_wav(const Bytes& bytes);

}  // namespace vantrel::assetgen
