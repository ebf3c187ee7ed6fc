// BMP headers: the 14-byte file header, the info header (12 bytes, 40 to
// 124 with optional colour masks, or the second OS/2 header of 16 or 64
// bytes), the palette, and the gap up to the pixel data. Every count is
// checked before it is used.
#include "assets/bmp_header.h"

#include "assets/bmp_loader.h"
#include "assets/loader_input.h"

#include <algorithm>
#include <bit>

namespace vantrel::bmp_detail {

namespace {

constexpr int32_t FILE_HEADER_BYTES = 14;
constexpr int32_t CORE_HEADER_BYTES = 12;
constexpr int32_t INFO_HEADER_BYTES = 40;
constexpr int32_t OS2_SHORT_HEADER_BYTES = 16;
constexpr int32_t OS2_HEADER_BYTES = 64;

// What the file header and the info header say, before the palette.
struct Layout {
    int32_t data_offset = 0;
    int32_t header_size = 0;
    int32_t palette_entries = 0; // as the header asks; 0 for "all"
    int32_t planes = 0;
};

bool known_header_size(int32_t size)
{
    return size == CORE_HEADER_BYTES || size == OS2_SHORT_HEADER_BYTES ||
           size == INFO_HEADER_BYTES || size == 52 || size == 56 || size == OS2_HEADER_BYTES ||
           size == 108 || size == 124;
}

void read_core_header(TByteStream& s, BmpHeader& h, Layout& layout)
{
    h.width = s.read_short();
    h.height = s.read_short();
    layout.planes = s.read_short();
    h.bits = s.read_short();
}

void read_info_header(TByteStream& s, BmpHeader& h, Layout& layout)
{
    h.width = s.read_int();
    const int32_t height = s.read_int();
    h.top_down = height < 0;
    h.height = height == INT32_MIN ? 0 : (height < 0 ? -height : height);
    layout.planes = s.read_short();
    h.bits = s.read_short();
    if (layout.header_size == OS2_SHORT_HEADER_BYTES)
        return; // the rest are zero: uncompressed, a full palette
    h.compression = s.read_int();
    s.skip_bytes(12); // image size and resolution: not needed
    layout.palette_entries = s.read_int();
    s.read_int(); // important colours
    int32_t read = INFO_HEADER_BYTES;
    const int32_t masks = layout.header_size == OS2_HEADER_BYTES ? 0
                          : layout.header_size >= 56             ? 4
                          : layout.header_size >= 52             ? 3
                                                                 : 0;
    for (int32_t i = 0; i < masks; ++i, read += 4)
        h.masks[static_cast<size_t>(i)] = static_cast<uint32_t>(s.read_int());
    s.skip_bytes(layout.header_size - read);
}

bool supported(const BmpHeader& h, const Layout& layout)
{
    if (layout.planes != 1 || h.width < 1 || h.height < 1 || h.width > BMP_MAX_SIDE ||
        h.height > BMP_MAX_SIDE)
        return false;
    switch (h.compression) {
    case BMP_RGB:
        return h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 ||
               h.bits == 32;
    case BMP_RLE8: return h.bits == 8 && !h.top_down;
    case BMP_RLE4: return h.bits == 4 && !h.top_down;
    case BMP_BITFIELDS: // under the 64-byte header, one-dimensional Huffman
        return layout.header_size != OS2_HEADER_BYTES && (h.bits == 16 || h.bits == 32);
    default: return false;
    }
}

// The 12-byte header cannot say how many entries it has, and short palettes
// are common there: it reads those that fit before the pixel data. The info
// headers give the count, and pixel data that starts inside the palette they
// announce makes the header inconsistent.
bool read_palette(TByteStream& s, BmpHeader& h, const Layout& layout, int32_t& consumed)
{
    const bool core = layout.header_size == CORE_HEADER_BYTES;
    const int32_t entry = core ? 3 : 4;
    const int32_t full = 1 << h.bits;
    if (layout.palette_entries < 0 || layout.palette_entries > full)
        return false;
    const int32_t asked = layout.palette_entries ? layout.palette_entries : full;
    const int32_t room = (layout.data_offset - consumed) / entry;
    if (!core && room < asked)
        return false;
    h.colours = std::clamp(room, 0, asked);
    for (int32_t i = 0; i < h.colours; ++i) {
        uint8_t bgr[4] = {};
        if (!read_exactly(s, bgr, entry))
            return false;
        const auto at = static_cast<size_t>(i) * 3;
        h.palette[at] = bgr[2], h.palette[at + 1] = bgr[1], h.palette[at + 2] = bgr[0];
    }
    consumed += h.colours * entry;
    return true;
}

// Each mask one run of set bits, none overlapping, all within the pixel.
bool masks_usable(const BmpHeader& h)
{
    uint32_t seen = 0;
    for (const uint32_t mask : h.masks) {
        if (mask == 0)
            continue;
        const uint32_t run = mask >> std::countr_zero(mask);
        if ((run & (run + 1)) != 0 || (seen & mask) != 0 ||
            (h.bits == 16 && mask > 0xFFFF))
            return false;
        seen |= mask;
    }
    return true;
}

} // namespace

bool read_bmp_header(TByteStream& s, BmpHeader& h)
{
    uint8_t signature[2] = {};
    if (!read_exactly(s, signature, 2) || signature[0] != 'B' || signature[1] != 'M')
        return false;
    Layout layout;
    s.skip_bytes(8); // file size and reserved words: not trusted, not needed
    layout.data_offset = s.read_int();
    layout.header_size = s.read_int();
    // The pixel data cannot start inside the headers; this also keeps a
    // negative offset out of the palette's arithmetic.
    if (!known_header_size(layout.header_size) ||
        layout.data_offset < FILE_HEADER_BYTES + layout.header_size)
        return false;
    if (layout.header_size == CORE_HEADER_BYTES)
        read_core_header(s, h, layout);
    else
        read_info_header(s, h, layout);
    if (!supported(h, layout))
        return false;
    int32_t consumed = FILE_HEADER_BYTES + layout.header_size;
    if (h.compression == BMP_BITFIELDS && layout.header_size == INFO_HEADER_BYTES) {
        for (size_t i = 0; i < 3; ++i)
            h.masks[i] = static_cast<uint32_t>(s.read_int());
        consumed += 12;
    }
    if (h.bits == 16 && h.compression == BMP_RGB)
        h.masks = {0x7C00, 0x03E0, 0x001F, 0};
    if (h.compression == BMP_BITFIELDS && !masks_usable(h))
        return false;
    if (h.bits <= 8 && !read_palette(s, h, layout, consumed))
        return false;
    if (layout.data_offset < consumed)
        return false;
    s.skip_bytes(layout.data_offset - consumed);
    return true;
}

} // namespace vantrel::bmp_detail
