// The BMP pixmap loader: uncompressed 1-, 4-, 8-, 24- and 32-bit pictures,
// 32-bit ones with bit-field masks, and 8-bit run-length (RLE8) ones, under
// the 12-byte and the 40- to 124-byte info headers.
//
// Palette and 24-bit pictures load as FORMAT_RGB24, and so do 32-bit ones
// unless their masks give an alpha channel, which makes them FORMAT_RGBA32.
// Rows stored bottom-up (the usual way) or top-down come out top row first.
// Pixels that an RLE8 picture skips take palette colour 0.
//
// Data that is not BMP gives the null object, and so does a file with an
// unsupported or inconsistent header (pixel data that starts inside the
// headers, or inside the palette that an info header announces; a 12-byte
// header's palette may be short, and its missing entries are black), one
// larger than BMP_MAX_SIDE on a
// side, one whose pixel data is cut short, or an RLE8 picture of more than
// BMP_RLE_PIXELS_PER_BYTE pixels for each byte the stream still holds.
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
