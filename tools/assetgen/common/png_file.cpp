// PNG encoding and decoding over libpng's classic API. libpng reports errors
// by longjmp, so each function that calls it keeps only trivial locals
// between setjmp and the libpng calls.
#include "common/png_file.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <stdexcept>

namespace vantrel::assetgen {

RgbImage::RgbImage(int width, int height, Rgb fill)
    : width_(width), height_(height), bytes_(static_cast<size_t>(width) * static_cast<size_t>(height) * 3)
{
    for (size_t i = 0; i < bytes_.size(); i += 3) {
        bytes_[i] = fill.r;
        bytes_[i + 1] = fill.g;
        bytes_[i + 2] = fill.b;
    }
}

Rgb RgbImage::get(int x, int y) const
{
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
    return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

void RgbImage::set(int x, int y, Rgb colour)
{
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
    bytes_[i] = colour.r;
    bytes_[i + 1] = colour.g;
    bytes_[i + 2] = colour.b;
}

namespace {

void append_to_vector(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    try {
        out->insert(out->end(), data, data + length);
    } catch (...) {
        png_error(png, "out of memory");
    }
}

void flush_nothing(png_structp) {}

struct RowsToWrite {
    int width = 0;
    int height = 0;
    int colour_type = PNG_COLOR_TYPE_RGB;
    png_bytepp rows = nullptr;
};

bool write_rows(png_structp png, png_infop info, const RowsToWrite& image, Bytes* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, append_to_vector, flush_nothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 image.colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 8);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_compression_window_bits(png, 15);
    png_set_compression_method(png, 8);
    png_set_rows(png, info, image.rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

// Encodes rows of channels bytes per pixel (3 for RGB, 4 for RGBA).
Bytes encode_rows(const uint8_t* pixels, int width, int height, int channels)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("libpng: cannot create the write structures");
    }
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(pixels + static_cast<size_t>(y) * stride);
    const RowsToWrite image{width, height, channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                            rows.data()};
    Bytes out;
    const bool ok = write_rows(png, info, image, &out);
    png_destroy_write_struct(&png, &info);
    if (!ok)
        throw std::runtime_error("libpng: writing the picture failed");
    return out;
}

struct ReadCursor {
    const Bytes* bytes;
    size_t pos;
};

void read_from_cursor(png_structp png, png_bytep data, size_t length)
{
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (cursor->bytes->size() - cursor->pos < length)
        png_error(png, "truncated");
    std::memcpy(data, cursor->bytes->data() + cursor->pos, length);
    cursor->pos += length;
}

// Reads the header, then the rows expanded to 8-bit RGB (channels 3) or RGBA
// (channels 4) into pixels, sized here.
bool read_rows(png_structp png, png_infop info, ReadCursor* cursor, int channels, PngHeader* header,
               std::vector<uint8_t>* pixels)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, cursor, read_from_cursor);
    png_set_user_limits(png, 4096, 4096);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colour = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
    *header = {width, height, depth, colour, interlace};
    png_set_expand(png);
    png_set_strip_16(png);
    if (channels == 4)
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    else
        png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
    if (png_get_rowbytes(png, info) != stride)
        return false;
    pixels->assign(stride * height, 0);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, pixels->data() + static_cast<size_t>(y) * stride, nullptr);
    png_read_end(png, nullptr);
    return true;
}

// Decodes into 8-bit pixels of the given channel count; false when the bytes
// are not a PNG that libpng can decode.
bool decode_rows(const Bytes& bytes, int channels, PngHeader* header, std::vector<uint8_t>* pixels)
{
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    ReadCursor cursor{&bytes, 0};
    const bool ok = read_rows(png, info, &cursor, channels, header, pixels);
    png_destroy_read_struct(&png, &info, nullptr);
    return ok;
}

}  // namespace

Bytes encode_png_rgb(const RgbImage& image)
{
    return encode_rows(image.bytes().data(), image.width(), image.height(), 3);
}

Bytes encode_png_rgba(const RgbaImage& image)
{
    if (image.width <= 0 || image.height <= 0 ||
        image.bytes.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4)
        throw std::invalid_argument("RGBA picture: size and pixel count disagree");
    return encode_rows(image.bytes.data(), image.width, image.height, 4);
}

std::optional<DecodedPng> decode_png(const Bytes& bytes)
{
    DecodedPng result;
    std::vector<uint8_t> pixels;
    if (!decode_rows(bytes, 3, &result.header, &pixels))
        return std::nullopt;
    result.image = RgbImage(static_cast<int>(result.header.width), static_cast<int>(result.header.height));
    result.image.bytes() = std::move(pixels);
    return result;
}

std::optional<RgbaImage> decode_png_rgba(const Bytes& bytes)
{
    PngHeader header;
    RgbaImage image;
    if (!decode_rows(bytes, 4, &header, &image.bytes))
        return std::nullopt;
    image.width = static_cast<int>(header.width);
    image.height = static_cast<int>(header.height);
    return image;
}

std::vector<PngChunk> list_png_chunks(const Bytes& bytes)
{
    static const uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<PngChunk> chunks;
    if (bytes.size() < 8 || std::memcmp(bytes.data(), signature, 8) != 0)
        return chunks;
    size_t pos = 8;
    while (bytes.size() - pos >= 12) {
        const uint32_t length = get_u32be(bytes, pos);
        if (length > bytes.size() - pos - 12)
            return {};
        const uLong crc = crc32(0L, bytes.data() + pos + 4, static_cast<uInt>(length + 4));
        chunks.push_back({std::string(bytes.begin() + static_cast<long>(pos) + 4, bytes.begin() + static_cast<long>(pos) + 8),
                          length, crc == get_u32be(bytes, pos + 8 + length)});
        pos += 12 + length;
    }
    if (pos != bytes.size())
        return {};
    return chunks;
}

}  // namespace vantrel::assetgen
