// Test pictures: PNG files written with libpng's writer, and raw chunk
// surgery for damaged files.
#pragma once

#include <png.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::pngtest {

using Bytes = std::vector<uint8_t>;

struct TestPng {
    uint32_t width = 1;
    uint32_t height = 1;
    int colour_type = PNG_COLOR_TYPE_RGB;
    int bit_depth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<uint8_t> palette_alpha;      // tRNS of a palette image
    std::optional<png_color_16> trns_colour; // tRNS of a grey or RGB image
    double gamma = 0;                         // a gAMA chunk when not 0
    // Row-major samples, channels in PNG order, each below 2^bit_depth.
    std::vector<uint16_t> samples;
};

int channels_of(int colour_type);

// The picture as a PNG file.
Bytes encode_png(const TestPng& png);

// A whole chunk: length, type, data and CRC.
Bytes make_chunk(const std::string& type, const Bytes& data);

// The offset of the first chunk of that type (its length field), or npos.
size_t find_chunk(const Bytes& file, const std::string& type);

// Recomputes the CRC of the chunk at offset (after its data was changed).
void fix_crc(Bytes& file, size_t offset);

// The eight signature bytes followed by an IHDR chunk.
Bytes signature_and_header(uint32_t width, uint32_t height, int bit_depth, int colour_type);

// What the loader should give: the pixmap format, and pixel (x, y) as ARGB.
int32_t expected_format(const TestPng& png);
uint32_t expected_pixel(const TestPng& png, uint32_t x, uint32_t y);

// An independent decode of a non-interlaced 8-bit RGB PNG (zlib and the five
// row filters, nothing else): width x height x 3 bytes, or empty when the file
// is not of that kind.
Bytes reference_rgb8_decode(const Bytes& file, uint32_t* width, uint32_t* height);

// Samples with a varied, reproducible pattern.
std::vector<uint16_t> pattern_samples(uint32_t width, uint32_t height, int channels, int bit_depth);

} // namespace vantrel::pngtest
