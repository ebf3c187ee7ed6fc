// TGA headers. With no signature to go by, every field must hold a value the
// format allows before the data counts as TGA: this is what keeps PNG, JPEG,
// BMP and other data from being taken for a picture here.
#include "assets/tga_header.h"

#include "assets/loader_input.h"
#include "assets/tga_loader.h"

namespace vantrel::tga_detail {

namespace {

constexpr int32_t HEADER_BYTES = 18;

// The header's fields, in file order.
struct Fields {
    int32_t id_length, map_type, image_type;
    int32_t map_first, map_length, map_bits;
    int32_t width, height, bits, descriptor;
};

int32_t u16(const uint8_t* p) { return p[0] | p[1] << 8; }

Fields parse(const uint8_t* b)
{
    return Fields{b[0], b[1], b[2], u16(b + 3), u16(b + 5), b[7],
                  u16(b + 12), u16(b + 14), b[16], b[17]};
}

bool colour_bits(int32_t bits)
{
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

bool valid(const Fields& f)
{
    const int32_t kind = f.image_type & ~8;
    if (f.map_type > 1 || (f.image_type & ~11) != 0 || kind < 1 || kind > 3)
        return false;
    if (f.width < 1 || f.height < 1 || f.width > TGA_MAX_SIDE || f.height > TGA_MAX_SIDE ||
        (f.descriptor & 0xC0) != 0)
        return false;
    if (f.map_type == 1 && !colour_bits(f.map_bits))
        return false;
    switch (kind) {
    case 1: return f.map_type == 1 && f.map_length > 0 && (f.bits == 8 || f.bits == 16);
    case 2: return colour_bits(f.bits);
    default: return f.bits == 8 || f.bits == 16;
    }
}

int32_t pixmap_format(const Fields& f, TgaKind kind)
{
    if (kind == TgaKind::Grey) // with alpha, as no grey-plus-alpha format exists
        return f.bits == 16 ? FORMAT_RGBA32 : FORMAT_GRAY8;
    const int32_t colour = kind == TgaKind::Mapped ? f.map_bits : f.bits;
    return colour == 32 ? FORMAT_RGBA32 : FORMAT_RGB24;
}

// The map as pixmap-format entries; a map the picture does not use is only
// skipped.
bool read_map(TByteStream& s, const Fields& f, TgaHeader& h)
{
    if (f.map_type == 0)
        return true;
    const int32_t stored = (f.map_bits + 7) / 8;
    std::vector<uint8_t> bytes(static_cast<size_t>(f.map_length) * static_cast<size_t>(stored));
    if (!read_exactly(s, bytes.data(), static_cast<int32_t>(bytes.size())))
        return false;
    if (h.kind != TgaKind::Mapped)
        return true;
    const int32_t out = pixel_bytes(h.format);
    h.map.resize(static_cast<size_t>(f.map_length) * static_cast<size_t>(out));
    for (size_t i = 0; i < static_cast<size_t>(f.map_length); ++i)
        convert_tga_colour(&bytes[i * static_cast<size_t>(stored)], f.map_bits, h.format,
                           &h.map[i * static_cast<size_t>(out)]);
    return true;
}

} // namespace

void convert_tga_colour(const uint8_t* p, int32_t bits, int32_t format, uint8_t* out)
{
    if (bits <= 16) {
        const int32_t v = u16(p);
        out[0] = static_cast<uint8_t>((v >> 10 & 31) * 255 / 31);
        out[1] = static_cast<uint8_t>((v >> 5 & 31) * 255 / 31);
        out[2] = static_cast<uint8_t>((v & 31) * 255 / 31);
    } else {
        out[0] = p[2], out[1] = p[1], out[2] = p[0];
    }
    if (format == FORMAT_RGBA32)
        out[3] = bits == 32 ? p[3] : 255;
}

bool read_tga_header(TByteStream& s, TgaHeader& h)
{
    uint8_t bytes[HEADER_BYTES];
    if (!read_exactly(s, bytes, HEADER_BYTES))
        return false;
    const Fields f = parse(bytes);
    if (!valid(f))
        return false;
    const int32_t kind = f.image_type & ~8;
    h.kind = kind == 1 ? TgaKind::Mapped : kind == 2 ? TgaKind::TrueColour : TgaKind::Grey;
    h.rle = (f.image_type & 8) != 0;
    h.width = f.width, h.height = f.height, h.bits = f.bits;
    h.right_to_left = (f.descriptor & 0x10) != 0;
    h.top_down = (f.descriptor & 0x20) != 0;
    h.format = pixmap_format(f, h.kind);
    h.map_first = f.map_first;
    s.skip_bytes(f.id_length);
    return read_map(s, f, h);
}

} // namespace vantrel::tga_detail
