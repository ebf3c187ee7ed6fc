// The body shared by the stock pixmap loaders' fuzz targets: one loader over
// a memory stream holding the input, then the pixmap operations the image
// layer applies to a loaded picture. Any error that escapes, any sanitizer
// report or a malformed pixmap is a finding.
#pragma once

#include "assets/pixmap_loader.h"
#include "assets/pixmap_ops.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace vantrel::fuzz {

inline bool well_formed(const TPixmap& p, int32_t max_side)
{
    const bool known = p.format == FORMAT_GRAY8 || p.format == FORMAT_RGB24 ||
                       p.format == FORMAT_RGBA32;
    return known && p.width > 0 && p.height > 0 && p.width <= max_side && p.height <= max_side &&
           p.pitch >= p.width * pixel_bytes(p.format) &&
           static_cast<int64_t>(p.pitch) * p.height <= p.capacity;
}

// Traps on a malformed pixmap, then touches every pixel (memory smaller than
// the pixmap claims shows as an overflow, bytes the loader never wrote as
// uninitialised reads) and runs the image layer's operations on small ones.
inline int check_pixmap(const Ref<TPixmap>& pixmap, int32_t max_side)
{
    if (!pixmap)
        return 0;
    if (!well_formed(*pixmap, max_side))
        __builtin_trap();
    uint32_t sum = 0;
    for (int32_t y = 0; y < pixmap->height; ++y)
        for (int32_t x = 0; x < pixmap->width; ++x)
            sum += pixmap->get_pixel(x, y);
    if (int64_t{pixmap->width} * pixmap->height <= 65536) {
        auto masked = apply_colour_key(pixmap, 255, 0, 255);
        auto scaled = scale_pixmap(masked, pixmap->width / 2 + 1, pixmap->height / 3 + 1);
        sum += scaled->get_pixel(0, 0);
    }
    return static_cast<int>(sum & 0);
}

template <class Loader>
int fuzz_pixmap_loader(const uint8_t* data, size_t size, int32_t max_side)
{
    static const Ref<TPixmapDecoder> loader = make_ref<Loader>();
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return 0;
    auto stream = create_memory_stream(data, static_cast<int32_t>(size), 1, 0);
    Ref<TPixmap> pixmap;
    try {
        pixmap = loader->load(stream);
    } catch (const TStreamError&) {
        return 0; // what decode_pixmap takes as "not this loader's"
    }
    return check_pixmap(pixmap, max_side);
}

} // namespace vantrel::fuzz
