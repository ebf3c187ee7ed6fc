// The JPEG pixmap loader, over libjpeg.
//
// Greyscale pictures load as FORMAT_GRAY8, colour ones (YCbCr or RGB) as
// FORMAT_RGB24, and so do four-ink ones (CMYK or YCCK), each light channel
// being its ink's absence times black's. Under an Adobe marker the inks are
// taken as stored inverted, as the programs that write that marker store
// them. Baseline, progressive and arithmetic-coded files are read.
//
// Data that is not JPEG gives the null object, and so does a file that is
// damaged or cut short (libjpeg's warnings about corrupt data count as
// damage, except the one about stray bytes before a marker, which it skips),
// larger than JPEG_MAX_SIDE on a side, or claiming more pixels than
// JPEG_PIXELS_PER_BYTE for each byte the stream still holds (an
// arithmetic-coded file of at most JPEG_ARITHMETIC_PIXELS is exempt). An error
// raised by the stream itself while libjpeg reads is raised again once
// libjpeg has been cleaned up. Any thread may decode; decodes share nothing.
#pragma once

#include "assets/pixmap_loader.h"

namespace vantrel {

inline constexpr int32_t JPEG_MAX_SIDE = 16384;
// Even a flat grey picture costs a few bits per 8 x 8 block, so no valid
// file comes near this many pixels per byte.
inline constexpr int64_t JPEG_PIXELS_PER_BYTE = 512;
// Arithmetic coding makes flat pictures of any size cost about 200 bytes, so
// no per-byte rule tells them from hostile headers. They get a pixel budget
// instead: 4096 x 4096, 48 MB of RGB, what a 32 KB Huffman-coded file may
// already claim.
inline constexpr int64_t JPEG_ARITHMETIC_PIXELS = int64_t{4096} * 4096;

class TJpegLoader final : public TPixmapDecoder {
public:
    Ref<TPixmap> load(const Ref<TByteStream>& stream) override;
};

} // namespace vantrel
