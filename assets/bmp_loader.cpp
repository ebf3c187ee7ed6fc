// BMP pixel data: uncompressed rows, padded to 4 bytes, and RLE8 and RLE4
// runs.
//
// Sizes are checked against what the stream still holds before the pixmap
// is made, so a header cannot make the loader reserve memory that the data
// behind it could never fill.
#include "assets/bmp_loader.h"

#include "assets/bmp_header.h"
#include "assets/loader_input.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace vantrel {

using bmp_detail::BmpHeader;

namespace {

int64_t row_bytes(const BmpHeader& h)
{
    return (int64_t{h.width} * h.bits + 31) / 32 * 4;
}

// The pixmap row that the n-th row of the file fills.
int32_t target_row(const BmpHeader& h, int32_t n)
{
    return h.top_down ? n : h.height - 1 - n;
}

void put_colour(const BmpHeader& h, uint8_t* d, uint32_t index)
{
    const size_t at = static_cast<size_t>(index) * 3;
    d[0] = h.palette[at], d[1] = h.palette[at + 1], d[2] = h.palette[at + 2];
}

void expand_palette_row(const BmpHeader& h, const uint8_t* s, uint8_t* d)
{
    const int32_t per_byte = 8 / h.bits;
    const uint32_t mask = (1u << h.bits) - 1;
    for (int32_t x = 0; x < h.width; ++x, d += 3) {
        const int32_t shift = 8 - h.bits * (x % per_byte + 1);
        put_colour(h, d, static_cast<uint32_t>(s[x / per_byte] >> shift) & mask);
    }
}

// One channel through a mask, narrowed to 8 bits, or widened by repeating
// its bits so that 0 and the maximum map to 0 and 255 exactly.
uint8_t channel(uint32_t pixel, uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::countr_one(mask >> shift);
    uint32_t value = (pixel & mask) >> shift;
    if (width >= 8)
        return static_cast<uint8_t>(value >> (width - 8));
    uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += width)
        wide = wide << width | value;
    const int extra = (8 + width - 1) / width * width - 8;
    return static_cast<uint8_t>(wide >> extra);
}

bool masked(const BmpHeader& h)
{
    return h.bits == 16 || h.compression == bmp_detail::BMP_BITFIELDS;
}

void convert_row(const BmpHeader& h, const uint8_t* s, uint8_t* d, bool alpha)
{
    if (h.bits <= 8)
        return expand_palette_row(h, s, d);
    const int32_t step = h.bits / 8;
    for (int32_t x = 0; x < h.width; ++x, s += step) {
        if (!masked(h)) {
            *d++ = s[2], *d++ = s[1], *d++ = s[0];
            continue;
        }
        uint32_t p = uint32_t{s[0]} | uint32_t{s[1]} << 8;
        if (step == 4)
            p |= uint32_t{s[2]} << 16 | uint32_t{s[3]} << 24;
        for (size_t c = 0; c < (alpha ? 4u : 3u); ++c)
            *d++ = channel(p, h.masks[c]);
    }
}

Ref<TPixmap> read_rows(TByteStream& s, const BmpHeader& h, int64_t bytes_left)
{
    const int64_t stride = row_bytes(h);
    if (bytes_left >= 0 && stride * h.height > bytes_left)
        return {}; // cut short
    const bool alpha = masked(h) && h.masks[3] != 0;
    Ref<TPixmap> pixmap = new_pixmap(h.width, h.height, alpha ? FORMAT_RGBA32 : FORMAT_RGB24, 4);
    std::vector<uint8_t> row(static_cast<size_t>(stride));
    for (int32_t n = 0; n < h.height; ++n) {
        if (!read_exactly(s, row.data(), static_cast<int32_t>(stride)))
            return {};
        convert_row(h, row.data(), pixmap->pixel_ptr(0, target_row(h, n)), alpha);
    }
    return pixmap;
}

// Where run-length codes put their palette indices. Indices past the end of a row
// are dropped, and the position never runs past the row's end.
struct RleCanvas {
    int32_t width, height;
    std::vector<uint8_t> indices; // file rows, bottom row first
    int32_t x = 0, y = 0;

    void put(uint8_t index)
    {
        if (x >= width || y >= height)
            return;
        indices[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = index;
        ++x;
    }
    void jump(int32_t dx, int32_t dy)
    {
        x = std::min(x + dx, width);
        y = std::min(y + dy, height);
    }
};

// Absolute mode: count literal indices (bytes, or nibbles high first),
// padded to an even number of bytes.
bool copy_literals(TByteStream& s, RleCanvas& canvas, int32_t count, int32_t bits)
{
    uint8_t literals[256];
    const int32_t bytes = bits == 4 ? (count + 1) / 2 : count;
    if (!read_exactly(s, literals, bytes + (bytes & 1)))
        return false;
    for (int32_t i = 0; i < count; ++i)
        canvas.put(bits == 4 ? static_cast<uint8_t>(literals[i / 2] >> (i % 2 ? 0 : 4) & 15)
                             : literals[i]);
    return true;
}

// An encoded run: one index, or two nibbles taken in turn.
void put_run(RleCanvas& canvas, int32_t count, uint8_t value, int32_t bits)
{
    for (int32_t i = 0; i < count && canvas.x < canvas.width; ++i)
        canvas.put(bits == 4 ? static_cast<uint8_t>(value >> (i % 2 ? 0 : 4) & 15) : value);
}

// Follows the codes to the end-of-picture code or the last row; false when
// the data ends first.
bool decode_rle(TByteStream& s, RleCanvas& canvas, int32_t bits)
{
    while (canvas.y < canvas.height) {
        uint8_t code[2];
        if (!read_exactly(s, code, 2))
            return false;
        if (code[0] > 0) {
            put_run(canvas, code[0], code[1], bits);
        } else if (code[1] == 0) {
            canvas.x = 0, ++canvas.y; // end of row
        } else if (code[1] == 1) {
            return true; // end of picture
        } else if (code[1] == 2) {
            uint8_t jump[2];
            if (!read_exactly(s, jump, 2))
                return false;
            canvas.jump(jump[0], jump[1]);
        } else if (!copy_literals(s, canvas, code[1], bits)) {
            return false;
        }
    }
    return true;
}

Ref<TPixmap> read_rle(TByteStream& s, const BmpHeader& h, int64_t bytes_left)
{
    const int64_t pixels = int64_t{h.width} * h.height;
    if (bytes_left >= 0 && pixels > bytes_left * BMP_RLE_PIXELS_PER_BYTE)
        return {};
    RleCanvas canvas{h.width, h.height, std::vector<uint8_t>(static_cast<size_t>(pixels), 0)};
    if (!decode_rle(s, canvas, h.bits))
        return {};
    Ref<TPixmap> pixmap = new_pixmap(h.width, h.height, FORMAT_RGB24, 4);
    for (int32_t n = 0; n < h.height; ++n) {
        const uint8_t* row = canvas.indices.data() + static_cast<size_t>(n) * static_cast<size_t>(h.width);
        uint8_t* d = pixmap->pixel_ptr(0, target_row(h, n));
        for (int32_t x = 0; x < h.width; ++x, d += 3)
            put_colour(h, d, row[x]);
    }
    return pixmap;
}

} // namespace

Ref<TPixmap> TBmpLoader::load(const Ref<TByteStream>& stream)
{
    const Ref<TByteStream> view = little_endian_view(stream);
    TByteStream& s = *view;
    BmpHeader header;
    if (!bmp_detail::read_bmp_header(s, header))
        return {};
    const int64_t bytes_left = stream_bytes_left(s);
    if (header.compression == bmp_detail::BMP_RLE8 || header.compression == bmp_detail::BMP_RLE4)
        return read_rle(s, header, bytes_left);
    return read_rows(s, header, bytes_left);
}

} // namespace vantrel
