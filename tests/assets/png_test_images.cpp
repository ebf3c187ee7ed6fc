// PNG writing for the loader tests.
#include "png_test_images.h"

#include "assets/pixel_format.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace vantrel::pngtest {

namespace {

void append(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flush(png_structp) {}

// Packs samples into PNG row bytes: sub-byte samples from the high bits down,
// 16-bit samples big-endian.
Bytes pack_row(const TestPng& p, uint32_t y)
{
    const int channels = channels_of(p.colour_type);
    const size_t count = static_cast<size_t>(p.width) * channels;
    const uint16_t* s = p.samples.data() + y * count;
    Bytes row((count * p.bit_depth + 7) / 8, 0);
    for (size_t i = 0; i < count; ++i) {
        if (p.bit_depth == 16) {
            row[2 * i] = static_cast<uint8_t>(s[i] >> 8);
            row[2 * i + 1] = static_cast<uint8_t>(s[i]);
        } else {
            const size_t bit = i * p.bit_depth;
            row[bit / 8] |= static_cast<uint8_t>(s[i] << (8 - p.bit_depth - bit % 8));
        }
    }
    return row;
}

void put_be32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 24), p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8), p[3] = static_cast<uint8_t>(v);
}

} // namespace

int channels_of(int colour_type)
{
    switch (colour_type) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_PALETTE: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    default: return 4;
    }
}

Bytes encode_png(const TestPng& p)
{
    if (p.samples.size() != size_t{p.width} * p.height * channels_of(p.colour_type))
        throw std::invalid_argument("sample count does not match the picture");
    std::vector<Bytes> rows;
    for (uint32_t y = 0; y < p.height; ++y)
        rows.push_back(pack_row(p, y));
    std::vector<png_bytep> row_pointers;
    for (Bytes& row : rows)
        row_pointers.push_back(row.data());

    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, append, flush);
    png_set_IHDR(png, info, p.width, p.height, p.bit_depth, p.colour_type,
                 p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!p.palette.empty())
        png_set_PLTE(png, info, p.palette.data(), static_cast<int>(p.palette.size()));
    if (!p.palette_alpha.empty())
        png_set_tRNS(png, info, p.palette_alpha.data(), static_cast<int>(p.palette_alpha.size()),
                     nullptr);
    if (p.trns_colour) {
        png_color_16 colour = *p.trns_colour;
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    if (p.gamma > 0)
        png_set_gAMA(png, info, p.gamma);
    png_set_rows(png, info, row_pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

int32_t expected_format(const TestPng& p)
{
    const bool alpha = (p.colour_type & PNG_COLOR_MASK_ALPHA) || p.trns_colour.has_value() ||
                       !p.palette_alpha.empty();
    if (alpha)
        return FORMAT_RGBA32;
    return p.colour_type == PNG_COLOR_TYPE_GRAY ? FORMAT_GRAY8 : FORMAT_RGB24;
}

uint32_t expected_pixel(const TestPng& p, uint32_t x, uint32_t y)
{
    const int channels = channels_of(p.colour_type);
    const uint16_t* s = p.samples.data() + (size_t{y} * p.width + x) * channels;
    // Low depths are scaled up to 8 bits, 16 bits keep the high byte.
    auto to8 = [&](uint16_t v) -> uint32_t {
        if (p.bit_depth == 16)
            return v >> 8;
        return v * 255u / ((1u << p.bit_depth) - 1);
    };
    const std::optional<png_color_16>& t = p.trns_colour;
    switch (p.colour_type) {
    case PNG_COLOR_TYPE_GRAY: {
        const uint32_t a = t && t->gray == s[0] ? 0 : 255;
        return make_argb(a, to8(s[0]), to8(s[0]), to8(s[0]));
    }
    case PNG_COLOR_TYPE_GRAY_ALPHA: return make_argb(to8(s[1]), to8(s[0]), to8(s[0]), to8(s[0]));
    case PNG_COLOR_TYPE_RGB: {
        const bool keyed = t && t->red == s[0] && t->green == s[1] && t->blue == s[2];
        return make_argb(keyed ? 0 : 255, to8(s[0]), to8(s[1]), to8(s[2]));
    }
    case PNG_COLOR_TYPE_PALETTE: {
        const png_color c = p.palette.at(s[0]);
        const uint32_t a = s[0] < p.palette_alpha.size() ? p.palette_alpha[s[0]] : 255;
        return make_argb(a, c.red, c.green, c.blue);
    }
    default: return make_argb(to8(s[3]), to8(s[0]), to8(s[1]), to8(s[2]));
    }
}

Bytes make_chunk(const std::string& type, const Bytes& data)
{
    Bytes chunk(12 + data.size());
    put_be32(chunk.data(), static_cast<uint32_t>(data.size()));
    std::memcpy(chunk.data() + 4, type.data(), 4);
    if (!data.empty())
        std::memcpy(chunk.data() + 8, data.data(), data.size());
    const uLong crc = crc32(0, chunk.data() + 4, static_cast<uInt>(4 + data.size()));
    put_be32(chunk.data() + 8 + data.size(), static_cast<uint32_t>(crc));
    return chunk;
}

size_t find_chunk(const Bytes& file, const std::string& type)
{
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = uint32_t{file[at]} << 24 | uint32_t{file[at + 1]} << 16 |
                                uint32_t{file[at + 2]} << 8 | file[at + 3];
        if (std::memcmp(file.data() + at + 4, type.data(), 4) == 0)
            return at;
        at += 12 + size_t{length};
    }
    return std::string::npos;
}

void fix_crc(Bytes& file, size_t offset)
{
    const uint32_t length = uint32_t{file[offset]} << 24 | uint32_t{file[offset + 1]} << 16 |
                            uint32_t{file[offset + 2]} << 8 | file[offset + 3];
    const uLong crc = crc32(0, file.data() + offset + 4, 4 + length);
    put_be32(file.data() + offset + 8 + length, static_cast<uint32_t>(crc));
}

Bytes signature_and_header(uint32_t width, uint32_t height, int bit_depth, int colour_type)
{
    Bytes file = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    Bytes ihdr(13, 0);
    put_be32(ihdr.data(), width);
    put_be32(ihdr.data() + 4, height);
    ihdr[8] = static_cast<uint8_t>(bit_depth);
    ihdr[9] = static_cast<uint8_t>(colour_type);
    const Bytes chunk = make_chunk("IHDR", ihdr);
    file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

namespace {

uint32_t be32(const uint8_t* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

uint8_t paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes one row's filter in place, given the already decoded row above.
bool unfilter(int filter, uint8_t* row, const uint8_t* up, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        const int a = i >= 3 ? row[i - 3] : 0, b = up ? up[i] : 0, c = up && i >= 3 ? up[i - 3] : 0;
        switch (filter) {
        case 0: break;
        case 1: row[i] = static_cast<uint8_t>(row[i] + a); break;
        case 2: row[i] = static_cast<uint8_t>(row[i] + b); break;
        case 3: row[i] = static_cast<uint8_t>(row[i] + (a + b) / 2); break;
        case 4: row[i] = static_cast<uint8_t>(row[i] + paeth(a, b, c)); break;
        default: return false;
        }
    }
    return true;
}

} // namespace

Bytes reference_rgb8_decode(const Bytes& file, uint32_t* width, uint32_t* height)
{
    const size_t ihdr = find_chunk(file, "IHDR");
    if (ihdr != 8 || file[ihdr + 16] != 8 || file[ihdr + 17] != 2 || file[ihdr + 20] != 0)
        return {};
    const uint32_t w = be32(&file[ihdr + 8]), h = be32(&file[ihdr + 12]);
    Bytes idat;
    for (size_t at = 8; at + 12 <= file.size(); at += 12 + size_t{be32(&file[at])}) {
        if (std::memcmp(&file[at + 4], "IDAT", 4) == 0)
            idat.insert(idat.end(), file.begin() + static_cast<ptrdiff_t>(at + 8),
                        file.begin() + static_cast<ptrdiff_t>(at + 8 + be32(&file[at])));
    }
    const size_t stride = size_t{w} * 3;
    Bytes raw(h * (stride + 1));
    uLongf raw_size = raw.size();
    if (uncompress(raw.data(), &raw_size, idat.data(), idat.size()) != Z_OK || raw_size != raw.size())
        return {};
    Bytes out(h * stride);
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* row = &out[y * stride];
        std::memcpy(row, &raw[y * (stride + 1) + 1], stride);
        if (!unfilter(raw[y * (stride + 1)], row, y ? row - stride : nullptr, stride))
            return {};
    }
    *width = w;
    *height = h;
    return out;
}

std::vector<uint16_t> pattern_samples(uint32_t width, uint32_t height, int channels, int bit_depth)
{
    std::vector<uint16_t> samples(size_t{width} * height * channels);
    const uint32_t mask = (1u << bit_depth) - 1;
    uint32_t state = 12345;
    for (uint16_t& s : samples) {
        state = state * 1103515245u + 12345u;
        s = static_cast<uint16_t>((state >> 8) & mask);
    }
    return samples;
}

} // namespace vantrel::pngtest
