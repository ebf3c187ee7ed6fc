// Test pictures for the stock loaders: JPEG files written with libjpeg's
// compressor, and BMP and TGA files written by small writers of our own,
// from one description of the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel::stocktest {

using Bytes = std::vector<uint8_t>;

// A picture as rows of RGBA bytes, top row first.
struct Rgba {
    int32_t width = 0, height = 0;
    Bytes pixels; // width x height x 4
    uint8_t* at(int32_t x, int32_t y)
    {
        return &pixels[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4];
    }
};

// Smooth gradients with a few hard edges: realistic for JPEG, and every
// pixel differs from its neighbours somewhere.
Rgba pattern(int32_t width, int32_t height);
// Pixels whose colours are palette entries 0..colours-1 (a varied pattern).
Rgba palette_pattern(int32_t width, int32_t height, int32_t colours, Bytes& palette_rgb);

struct JpegOptions {
    bool grey = false;
    bool progressive = false;
    int quality = 95;
    // Four inks storing the picture's colours: under an Adobe marker as
    // inverted CMYK or YCCK, or plain CMYK with no marker.
    enum Inks { NoInks, AdobeCmyk, AdobeYcck, PlainCmyk } inks = NoInks;
    bool arithmetic = false;
};
// Only where libjpeg is found (jpeg_test_writer.cpp).
Bytes encode_jpeg(const Rgba& picture, const JpegOptions& options);

struct BmpOptions {
    int32_t bits = 24;          // 1, 4, 8, 16, 24 or 32
    bool top_down = false;
    bool rle8 = false;          // 8 bits only
    bool rle4 = false;          // 4 bits only
    bool alpha_mask = false;    // 16 or 32 bits: bit fields with an alpha mask (4-4-4-4 in 16)
    bool masks565 = false;      // 16 bits: 5-6-5 bit fields after a 40-byte header
    bool core_header = false;   // the 12-byte header
    int32_t os2_header = 0;     // 16 or 64: the second OS/2 header
    Bytes palette_rgb;          // for 1, 4 and 8 bits
};
inline BmpOptions bmp_options(int32_t bits, bool top_down = false)
{
    BmpOptions options;
    options.bits = bits;
    options.top_down = top_down;
    return options;
}
// Palette pictures store the index of each pixel's exact palette colour;
// 16-bit ones keep each channel's top bits.
Bytes encode_bmp(const Rgba& picture, const BmpOptions& options);

struct TgaOptions {
    int32_t image_type = 2;     // 1 mapped, 2 true colour, 3 grey; +8 for RLE
    int32_t bits = 24;          // per stored pixel
    int32_t map_bits = 24;      // colour-map entry size
    int32_t map_first = 0;
    bool top_down = false;
    bool right_to_left = false;
    Bytes palette_rgb;          // for mapped pictures
    Bytes id;                   // the image id field
};
Bytes encode_tga(const Rgba& picture, const TgaOptions& options);

} // namespace vantrel::stocktest
