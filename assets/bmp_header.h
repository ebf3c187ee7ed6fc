// Reading a BMP file's headers and palette (the BMP loader's first half).
#pragma once

#include "assets/stream.h"

#include <array>
#include <cstdint>

namespace vantrel::bmp_detail {

enum BmpCompression : int32_t { BMP_RGB = 0, BMP_RLE8 = 1, BMP_RLE4 = 2, BMP_BITFIELDS = 3 };

struct BmpHeader {
    int32_t width = 0;
    int32_t height = 0; // rows, always positive
    bool top_down = false;
    int32_t bits = 0;
    int32_t compression = BMP_RGB;
    std::array<uint32_t, 4> masks{}; // red, green, blue, alpha: 16 bits, or bit fields
    int32_t colours = 0;             // palette entries read
    std::array<uint8_t, 256 * 3> palette{}; // red, green, blue; unread entries black
};

// Reads from the "BM" signature up to the first byte of pixel data. False
// when the data is not a BMP file this loader reads.
bool read_bmp_header(TByteStream& stream, BmpHeader& header);

} // namespace vantrel::bmp_detail
