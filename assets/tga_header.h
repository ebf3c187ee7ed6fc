// Reading a TGA file's header, image id and colour map (the TGA loader's
// first half).
#pragma once

#include "assets/stream.h"

#include <cstdint>
#include <vector>

namespace vantrel::tga_detail {

enum class TgaKind { Mapped, TrueColour, Grey };

struct TgaHeader {
    TgaKind kind = TgaKind::TrueColour;
    bool rle = false;
    int32_t width = 0, height = 0;
    int32_t bits = 0;          // per stored pixel
    bool right_to_left = false;
    bool top_down = false;
    int32_t format = 0;        // of the pixmap made
    int32_t map_first = 0;     // index of the map's first entry
    std::vector<uint8_t> map;  // entries in the pixmap's format
};

// Reads from the start of the file up to the first byte of pixel data.
// False when the data is not a TGA file this loader reads.
bool read_tga_header(TByteStream& stream, TgaHeader& header);

// One stored pixel (bits / 8 rounded up, at most 4 bytes) in a true-colour
// or colour-map entry of that many bits, as the pixmap's format.
void convert_tga_colour(const uint8_t* stored, int32_t bits, int32_t format, uint8_t* out);

} // namespace vantrel::tga_detail
