// The TGA pixmap loader: true-colour (15, 16, 24 and 32 bits), colour-mapped
// (8- or 16-bit indices into 15-, 16-, 24- or 32-bit colours), 8-bit grey
// and 16-bit grey-plus-alpha pictures, each plain or run-length encoded.
//
// 32-bit colour (direct or through the map) loads as FORMAT_RGBA32 with the
// file's fourth byte as alpha, 8-bit grey as FORMAT_GRAY8, grey plus alpha
// as FORMAT_RGBA32 with the grey in red, green and blue, everything else as
// FORMAT_RGB24. The origin bits are honoured: the pixmap's top row is the
// picture's top row. An index outside the colour map gives opaque black.
//
// TGA data has no signature, so the header is checked field by field; data
// that fails gives the null object, and so does a picture larger than
// TGA_MAX_SIDE on a side or one whose pixels the rest of the stream cannot
// hold (a run-length packet of 128 pixels takes at least 2 bytes).
#pragma once

#include "assets/pixmap_loader.h"

namespace vantrel {

inline constexpr int32_t TGA_MAX_SIDE = 16384;

class TTgaLoader final : public TPixmapDecoder {
public:
    Ref<TPixmap> load(const Ref<TByteStream>& stream) override;
};

} // namespace vantrel
