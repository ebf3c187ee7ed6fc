// The BMP pixmap loader: uncompressed 1-, 4-, 8-, 16-, 24- and 32-bit
// pictures, 16- and 32-bit ones with bit-field masks, and 8- and 4-bit
// run-length (RLE8, RLE4) ones, under the 12-byte and the 40- to 124-byte
// info headers and the second OS/2 header (16 or 64 bytes).
//
// Palette, 16- and 24-bit pictures load as FORMAT_RGB24, and so do 32-bit
// ones, unless masks give an alpha channel, which makes them FORMAT_RGBA32.
// Plain 16-bit pixels are 5-5-5; channels narrower than 8 bits are widened
// by repeating their bits, so 5 bits v become (v << 3) | (v >> 2).
// Rows stored bottom-up (the usual way) or top-down come out top row first.
// Pixels that a run-length picture skips take palette colour 0.
//
// Refused on purpose: the 64-byte OS/2 header's Huffman and 24-bit
// run-length compressions (codes 3 and 4), which no common tool writes and
// which would each need a decoder of their own; bit-field masks that are not
// one run of bits, that overlap, or that reach past a 16-bit pixel, since
// they name no channel a picture can have.
//
// Data that is not BMP gives the null object, and so does a file with an
// unsupported or inconsistent header (pixel data that starts inside the
// headers, or inside the palette that an info header announces; a 12-byte
// header's palette may be short, and its missing entries are black), one
// larger than BMP_MAX_SIDE on a side, one whose pixel data is cut short, or
// a run-length picture of more than BMP_RLE_PIXELS_PER_BYTE pixels for each
// byte the stream still holds.
#pragma once

#include "assets/pixmap_loader.h"

namespace vantrel {

inline constexpr int32_t BMP_MAX_SIDE = 16384;
// A run of 255 pixels takes 2 bytes; skipping further with position jumps
// is refused.
inline constexpr int64_t BMP_RLE_PIXELS_PER_BYTE = 256;

class TBmpLoader final : public TPixmapDecoder {
public:
    Ref<TPixmap> load(const Ref<TByteStream>& stream) override;
};

} // namespace vantrel
