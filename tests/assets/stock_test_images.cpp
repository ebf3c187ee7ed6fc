// Writers of the stock loaders' test pictures.
#include "stock_test_images.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantrel::stocktest {

namespace {

void put16(Bytes& b, uint32_t v)
{
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(Bytes& b, uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// The palette index of an exact colour (pictures from palette_pattern).
uint8_t index_of(const Bytes& palette, const uint8_t* rgba)
{
    for (size_t i = 0; i + 2 < palette.size(); i += 3)
        if (std::memcmp(&palette[i], rgba, 3) == 0)
            return static_cast<uint8_t>(i / 3);
    std::abort();
}

} // namespace

Rgba pattern(int32_t width, int32_t height)
{
    Rgba p{width, height, Bytes(static_cast<size_t>(width) * static_cast<size_t>(height) * 4)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* d = p.at(x, y);
            d[0] = static_cast<uint8_t>(x * 255 / std::max(1, width - 1));
            d[1] = static_cast<uint8_t>(y * 255 / std::max(1, height - 1));
            d[2] = static_cast<uint8_t>(x < width / 2 ? 40 : 200);
            d[3] = static_cast<uint8_t>((x * 7 + y * 13) & 0xFF);
        }
    return p;
}

Rgba palette_pattern(int32_t width, int32_t height, int32_t colours, Bytes& palette_rgb)
{
    palette_rgb.clear();
    for (int32_t i = 0; i < colours; ++i) {
        palette_rgb.push_back(static_cast<uint8_t>(i * 37 + 5));
        palette_rgb.push_back(static_cast<uint8_t>(255 - i * 11));
        palette_rgb.push_back(static_cast<uint8_t>(i * 91));
    }
    Rgba p{width, height, Bytes(static_cast<size_t>(width) * static_cast<size_t>(height) * 4)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            // Runs of equal pixels and stretches of changing ones.
            const int32_t i = (x / 3 + y * 5 + (x > width / 2 ? x : 0)) % colours;
            std::memcpy(p.at(x, y), &palette_rgb[static_cast<size_t>(i) * 3], 3);
            p.at(x, y)[3] = 255;
        }
    return p;
}

namespace {

// Red, green, blue and alpha masks of a 16- or 32-bit picture.
std::array<uint32_t, 4> bmp_masks(const BmpOptions& o)
{
    if (o.bits == 32)
        return {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    if (o.alpha_mask)
        return {0x0F00, 0x00F0, 0x000F, 0xF000};
    if (o.masks565)
        return {0xF800, 0x07E0, 0x001F, 0};
    return {0x7C00, 0x03E0, 0x001F, 0};
}

uint32_t pack16(const uint8_t* c, const BmpOptions& o)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t mask = bmp_masks(o)[i];
        if (mask != 0)
            v |= uint32_t{c[i]} >> (8 - std::popcount(mask)) << std::countr_zero(mask);
    }
    return v;
}

Bytes bmp_row(const Rgba& p, int32_t y, const BmpOptions& o)
{
    Bytes row;
    const auto* px = &p.pixels[static_cast<size_t>(y) * static_cast<size_t>(p.width) * 4];
    if (o.bits <= 8) {
        const int32_t per_byte = 8 / o.bits;
        row.assign(static_cast<size_t>((p.width + per_byte - 1) / per_byte), 0);
        for (int32_t x = 0; x < p.width; ++x)
            row[static_cast<size_t>(x / per_byte)] |= static_cast<uint8_t>(
                index_of(o.palette_rgb, px + x * 4) << (8 - o.bits * (x % per_byte + 1)));
    } else if (o.bits == 16) {
        for (int32_t x = 0; x < p.width; ++x)
            put16(row, pack16(px + x * 4, o));
    } else {
        for (int32_t x = 0; x < p.width; ++x) {
            const uint8_t* c = px + x * 4;
            row.insert(row.end(), {c[2], c[1], c[0]});
            if (o.bits == 32)
                row.push_back(c[3]);
        }
    }
    row.resize((row.size() + 3) / 4 * 4, 0);
    return row;
}

// Runs of equal indices as encoded runs, other stretches of three or more
// as literals, short ones as runs of one or two.
void rle8_row(const Rgba& p, int32_t y, const Bytes& palette, Bytes& out)
{
    Bytes idx;
    for (int32_t x = 0; x < p.width; ++x)
        idx.push_back(index_of(palette, &p.pixels[(static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)) * 4]));
    size_t x = 0;
    while (x < idx.size()) {
        size_t run = 1;
        while (x + run < idx.size() && idx[x + run] == idx[x] && run < 255)
            ++run;
        if (run >= 2 || idx.size() - x < 3) {
            out.insert(out.end(), {static_cast<uint8_t>(run), idx[x]});
            x += run;
            continue;
        }
        size_t lit = 1;
        while (x + lit < idx.size() && lit < 255 &&
               (x + lit + 1 >= idx.size() || idx[x + lit] != idx[x + lit + 1]))
            ++lit;
        if (lit < 3) {
            out.insert(out.end(), {1, idx[x]});
            ++x;
            continue;
        }
        out.insert(out.end(), {0, static_cast<uint8_t>(lit)});
        out.insert(out.end(), idx.begin() + static_cast<ptrdiff_t>(x), idx.begin() + static_cast<ptrdiff_t>(x + lit));
        if (lit & 1)
            out.push_back(0);
        x += lit;
    }
    out.insert(out.end(), {0, 0});
}

// Runs of one index as encoded runs of up to 254 nibbles, the rest as
// literals, so both kinds of code and odd counts occur.
void rle4_row(const Rgba& p, int32_t y, const Bytes& palette, Bytes& out)
{
    Bytes idx;
    for (int32_t x = 0; x < p.width; ++x)
        idx.push_back(index_of(palette, &p.pixels[(static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)) * 4]));
    size_t x = 0;
    while (x < idx.size()) {
        size_t run = 1;
        while (x + run < idx.size() && idx[x + run] == idx[x] && run < 254)
            ++run;
        if (run >= 3 || idx.size() - x < 3) {
            out.insert(out.end(), {static_cast<uint8_t>(run), static_cast<uint8_t>(idx[x] << 4 | idx[x])});
            x += run;
            continue;
        }
        size_t lit = 3;
        while (x + lit < idx.size() && lit < 255 && idx[x + lit] != idx[x + lit - 1])
            ++lit;
        out.insert(out.end(), {0, static_cast<uint8_t>(lit)});
        Bytes packed((lit + 1) / 2, 0);
        for (size_t i = 0; i < lit; ++i)
            packed[i / 2] |= static_cast<uint8_t>(idx[x + i] << (i % 2 ? 0 : 4));
        if (packed.size() & 1)
            packed.push_back(0);
        out.insert(out.end(), packed.begin(), packed.end());
        x += lit;
    }
    out.insert(out.end(), {0, 0});
}

uint32_t bmp_header_bytes(const BmpOptions& o)
{
    if (o.core_header)
        return 12;
    if (o.os2_header)
        return static_cast<uint32_t>(o.os2_header);
    return o.alpha_mask ? 56 : 40;
}

uint32_t bmp_compression(const BmpOptions& o)
{
    if (o.rle8 || o.rle4)
        return o.rle8 ? 1 : 2;
    return o.alpha_mask || o.masks565 ? 3 : 0;
}

} // namespace

Bytes encode_bmp(const Rgba& p, const BmpOptions& o)
{
    Bytes pixels;
    for (int32_t n = 0; n < p.height; ++n) {
        const int32_t y = o.top_down ? n : p.height - 1 - n;
        if (o.rle8) {
            rle8_row(p, y, o.palette_rgb, pixels);
        } else if (o.rle4) {
            rle4_row(p, y, o.palette_rgb, pixels);
        } else {
            const Bytes row = bmp_row(p, y, o);
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
    }
    if (o.rle8 || o.rle4)
        pixels.insert(pixels.end(), {0, 1});
    const uint32_t header = bmp_header_bytes(o);
    const uint32_t entry = o.core_header ? 3 : 4;
    const auto palette_bytes = static_cast<uint32_t>(o.palette_rgb.size() / 3 * entry);
    const uint32_t offset = 14 + header + palette_bytes + (o.masks565 ? 12 : 0);
    Bytes f{'B', 'M'};
    put32(f, offset + static_cast<uint32_t>(pixels.size()));
    put32(f, 0);
    put32(f, offset);
    put32(f, header);
    if (o.core_header) {
        put16(f, static_cast<uint32_t>(p.width));
        put16(f, static_cast<uint32_t>(p.height));
    } else {
        put32(f, static_cast<uint32_t>(p.width));
        put32(f, static_cast<uint32_t>(o.top_down ? -p.height : p.height));
    }
    put16(f, 1);
    put16(f, static_cast<uint32_t>(o.bits));
    if (!o.core_header && o.os2_header != 16) {
        put32(f, bmp_compression(o));
        put32(f, static_cast<uint32_t>(pixels.size()));
        put32(f, 2835), put32(f, 2835);
        put32(f, static_cast<uint32_t>(o.palette_rgb.size() / 3)), put32(f, 0);
        if (o.alpha_mask || o.masks565)
            for (size_t i = 0; i < (o.alpha_mask ? 4u : 3u); ++i)
                put32(f, bmp_masks(o)[i]);
        if (o.os2_header == 64)
            f.resize(f.size() + 24, 0); // units, recording and rendering: the defaults
    }
    for (size_t i = 0; i + 2 < o.palette_rgb.size(); i += 3) {
        f.insert(f.end(), {o.palette_rgb[i + 2], o.palette_rgb[i + 1], o.palette_rgb[i]});
        if (!o.core_header)
            f.push_back(0);
    }
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

namespace {

Bytes tga_colour(const uint8_t* c, int32_t bits)
{
    if (bits == 16 || bits == 15) {
        const uint32_t v = uint32_t{c[0]} >> 3 << 10 | uint32_t{c[1]} >> 3 << 5 | uint32_t{c[2]} >> 3;
        return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    }
    Bytes b{c[2], c[1], c[0]};
    if (bits == 32)
        b.push_back(c[3]);
    return b;
}

Bytes tga_pixel(const uint8_t* c, const TgaOptions& o)
{
    switch (o.image_type & 7) {
    case 1: {
        const uint32_t index = index_of(o.palette_rgb, c) + static_cast<uint32_t>(o.map_first);
        if (o.bits == 16)
            return {static_cast<uint8_t>(index), static_cast<uint8_t>(index >> 8)};
        return {static_cast<uint8_t>(index)};
    }
    case 3: return o.bits == 16 ? Bytes{c[0], c[3]} : Bytes{c[0]};
    default: return tga_colour(c, o.bits);
    }
}

// Stored pixels in file order: rows from the origin's side, and within a
// row from the origin's end.
std::vector<Bytes> tga_pixels(const Rgba& p, const TgaOptions& o)
{
    std::vector<Bytes> out;
    for (int32_t n = 0; n < p.height; ++n)
        for (int32_t m = 0; m < p.width; ++m) {
            const int32_t y = o.top_down ? n : p.height - 1 - n;
            const int32_t x = o.right_to_left ? p.width - 1 - m : m;
            out.push_back(tga_pixel(&p.pixels[(static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)) * 4], o));
        }
    return out;
}

// Repeat packets for equal neighbours, raw packets otherwise; packets run
// across row ends.
void tga_rle(const std::vector<Bytes>& px, Bytes& out)
{
    size_t i = 0;
    while (i < px.size()) {
        size_t run = 1;
        while (i + run < px.size() && px[i + run] == px[i] && run < 128)
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
            out.insert(out.end(), px[i].begin(), px[i].end());
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < px.size() && raw < 128 && !(i + raw + 1 < px.size() && px[i + raw] == px[i + raw + 1]))
            ++raw;
        out.push_back(static_cast<uint8_t>(raw - 1));
        for (size_t k = 0; k < raw; ++k)
            out.insert(out.end(), px[i + k].begin(), px[i + k].end());
        i += raw;
    }
}

} // namespace

Bytes encode_tga(const Rgba& p, const TgaOptions& o)
{
    const bool mapped = (o.image_type & 7) == 1;
    const auto map_length = static_cast<uint32_t>(o.palette_rgb.size() / 3);
    Bytes f{static_cast<uint8_t>(o.id.size()), static_cast<uint8_t>(mapped ? 1 : 0),
            static_cast<uint8_t>(o.image_type)};
    put16(f, mapped ? static_cast<uint32_t>(o.map_first) : 0);
    put16(f, mapped ? map_length : 0);
    f.push_back(static_cast<uint8_t>(mapped ? o.map_bits : 0));
    put16(f, 0), put16(f, 0);
    put16(f, static_cast<uint32_t>(p.width));
    put16(f, static_cast<uint32_t>(p.height));
    f.push_back(static_cast<uint8_t>(o.bits));
    f.push_back(static_cast<uint8_t>((o.bits == 32 || ((o.image_type & 7) == 3 && o.bits == 16) ? 8 : 0) | (o.right_to_left ? 0x10 : 0) |
                                     (o.top_down ? 0x20 : 0)));
    f.insert(f.end(), o.id.begin(), o.id.end());
    if (mapped)
        for (size_t i = 0; i + 2 < o.palette_rgb.size(); i += 3) {
            const uint8_t c[4] = {o.palette_rgb[i], o.palette_rgb[i + 1], o.palette_rgb[i + 2], 255};
            const Bytes e = tga_colour(c, o.map_bits);
            f.insert(f.end(), e.begin(), e.end());
        }
    const std::vector<Bytes> px = tga_pixels(p, o);
    if (o.image_type & 8)
        tga_rle(px, f);
    else
        for (const Bytes& b : px)
            f.insert(f.end(), b.begin(), b.end());
    return f;
}

} // namespace vantrel::stocktest
