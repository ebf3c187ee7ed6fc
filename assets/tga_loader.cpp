// TGA pixel data, plain or run-length encoded, laid into the pixmap in the
// order the origin bits give. Run-length packets may cross row ends.
#include "assets/tga_loader.h"

#include "assets/loader_input.h"
#include "assets/tga_header.h"

#include <cstring>

namespace vantrel {

using tga_detail::TgaHeader;
using tga_detail::TgaKind;

namespace {

// A packet of up to 128 pixels costs a count byte and at least one pixel byte.
constexpr int64_t TGA_RLE_PIXELS_PER_BYTE = 64;

// Walks the pixmap in the file's pixel order.
class PixelCursor {
public:
    PixelCursor(const TgaHeader& h, TPixmap& pixmap) : h_(h), pixmap_(pixmap) {}

    bool done() const { return row_ >= h_.height; }

    uint8_t* next()
    {
        const int32_t x = h_.right_to_left ? h_.width - 1 - x_ : x_;
        const int32_t y = h_.top_down ? row_ : h_.height - 1 - row_;
        if (++x_ == h_.width)
            x_ = 0, ++row_;
        return pixmap_.pixel_ptr(x, y);
    }

private:
    const TgaHeader& h_;
    TPixmap& pixmap_;
    int32_t x_ = 0, row_ = 0;
};

void convert_pixel(const TgaHeader& h, const uint8_t* stored, uint8_t* out)
{
    if (h.kind == TgaKind::Grey) {
        out[0] = stored[0];
        if (h.format == FORMAT_RGBA32)
            out[1] = out[2] = stored[0], out[3] = stored[1];
        return;
    }
    if (h.kind == TgaKind::TrueColour) {
        tga_detail::convert_tga_colour(stored, h.bits, h.format, out);
        return;
    }
    const int32_t size = pixel_bytes(h.format);
    const int64_t index = (h.bits == 16 ? stored[0] | stored[1] << 8 : stored[0]) - h.map_first;
    if (index >= 0 && (index + 1) * size <= static_cast<int64_t>(h.map.size())) {
        std::memcpy(out, &h.map[static_cast<size_t>(index * size)], static_cast<size_t>(size));
        return;
    }
    std::memset(out, 0, static_cast<size_t>(size));
    if (h.format == FORMAT_RGBA32)
        out[3] = 255;
}

bool read_plain(TByteStream& s, const TgaHeader& h, PixelCursor& cursor)
{
    const int32_t stored = (h.bits + 7) / 8;
    std::vector<uint8_t> row(static_cast<size_t>(h.width) * static_cast<size_t>(stored));
    while (!cursor.done()) {
        if (!read_exactly(s, row.data(), static_cast<int32_t>(row.size())))
            return false;
        for (size_t at = 0; at < row.size(); at += static_cast<size_t>(stored))
            convert_pixel(h, &row[at], cursor.next());
    }
    return true;
}

bool read_packets(TByteStream& s, const TgaHeader& h, PixelCursor& cursor)
{
    const int32_t stored = (h.bits + 7) / 8;
    while (!cursor.done()) {
        uint8_t head = 0, pixel[4] = {};
        if (!read_exactly(s, &head, 1))
            return false;
        const bool repeat = (head & 0x80) != 0;
        for (int32_t n = (head & 0x7F) + 1, i = 0; i < n && !cursor.done(); ++i) {
            if ((i == 0 || !repeat) && !read_exactly(s, pixel, stored))
                return false;
            convert_pixel(h, pixel, cursor.next());
        }
    }
    return true;
}

// Whether the rest of the stream can hold the picture's pixels.
bool fits(const TgaHeader& h, int64_t bytes_left)
{
    if (bytes_left < 0)
        return true;
    const int64_t pixels = int64_t{h.width} * h.height;
    if (h.rle)
        return pixels <= bytes_left * TGA_RLE_PIXELS_PER_BYTE;
    return pixels * ((h.bits + 7) / 8) <= bytes_left;
}

} // namespace

Ref<TPixmap> TTgaLoader::load(const Ref<TByteStream>& stream)
{
    const Ref<TByteStream> view = little_endian_view(stream);
    TByteStream& s = *view;
    TgaHeader header;
    if (!tga_detail::read_tga_header(s, header) || !fits(header, stream_bytes_left(s)))
        return {};
    Ref<TPixmap> pixmap = new_pixmap(header.width, header.height, header.format, 4);
    PixelCursor cursor(header, *pixmap);
    const bool complete = header.rle ? read_packets(s, header, cursor) : read_plain(s, header, cursor);
    return complete ? pixmap : Ref<TPixmap>();
}

} // namespace vantrel
