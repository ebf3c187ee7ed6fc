// 8-bit RGB pictures and their PNG form. Encoding pins every libpng and zlib
// setting that shapes the output (filters, level, strategy, window, memory
// level) and writes no time or text chunks, so equal pixels give equal files.
// Decoding exists for the checks and viewers and turns any PNG into RGB.
#pragma once

#include "common/byte_io.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::assetgen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class RgbImage {
public:
    RgbImage() = default;
    RgbImage(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb get(int x, int y) const;
    void set(int x, int y, Rgb colour);
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> bytes_;  // rows of R, G, B
};

// 8-bit RGBA, straight (not premultiplied) alpha; rows of R, G, B, A.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;
};

// Throws std::runtime_error when libpng fails.
Bytes encode_png_rgb(const RgbImage& image);
Bytes encode_png_rgba(const RgbaImage& image);

struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    int bit_depth = 0;
    int colour_type = 0;
    int interlace = 0;
};

struct DecodedPng {
    PngHeader header;  // as stored, before any expansion
    RgbImage image;    // expanded to 8-bit RGB
};

// Nothing when the bytes are not a PNG that libpng can decode.
std::optional<DecodedPng> decode_png(const Bytes& bytes);

// The same, expanded to 8-bit RGBA (opaque where the PNG has no alpha).
std::optional<RgbaImage> decode_png_rgba(const Bytes& bytes);

struct PngChunk {
    std::string type;
    uint32_t length = 0;
    bool crc_ok = false;
};

// The chunk sequence after the signature; empty when the signature is wrong
// or a chunk runs past the end.
std::vector<PngChunk> list_png_chunks(const Bytes& bytes);

}  // namespace vantrel::assetgen
