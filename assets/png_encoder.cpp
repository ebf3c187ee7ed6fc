// PNG encoding through libpng's classic writing interface, into memory.
//
// As in the loader, libpng reports errors by longjmp: the frame it jumps back
// to holds nothing with a destructor, and the write callback catches what
// growing the output raises and fails through png_error.
#include "assets/png_save.h"

#include <png.h>

#include <cstring>
#include <new>

namespace vantrel {

namespace {

struct EncodeSession {
    std::vector<uint8_t>* out = nullptr;
};

[[noreturn]] void on_png_error(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

void png_memory_write(png_structp png, png_bytep data, size_t length)
{
    auto* session = static_cast<EncodeSession*>(png_get_io_ptr(png));
    bool grown = false;
    try {
        session->out->insert(session->out->end(), data, data + length);
        grown = true;
    } catch (const std::bad_alloc&) {
    }
    if (!grown)
        png_error(png, "Out of memory");
}

void png_memory_flush(png_structp) {}

int png_colour_type(int32_t format)
{
    switch (format) {
    case FORMAT_GRAY8: return PNG_COLOR_TYPE_GRAY;
    case FORMAT_ALPHA8: return PNG_COLOR_TYPE_GRAY_ALPHA;
    case FORMAT_BGR24:
    case FORMAT_RGB24: return PNG_COLOR_TYPE_RGB;
    default: return PNG_COLOR_TYPE_RGB_ALPHA;
    }
}

// One pixmap row in the file's channel order.
void pack_row(const TPixmap& pixmap, int32_t y, uint8_t* row)
{
    const uint8_t* source = pixmap.pixel_ptr(0, y);
    switch (pixmap.format) {
    case FORMAT_GRAY8: std::memcpy(row, source, static_cast<size_t>(pixmap.width)); break;
    case FORMAT_ALPHA8:
        for (int32_t x = 0; x < pixmap.width; ++x)
            row[2 * x] = 255, row[2 * x + 1] = source[x];
        break;
    case FORMAT_BGR24:
    case FORMAT_RGB24: convert_pixel_span(source, pixmap.format, row, FORMAT_RGB24, pixmap.width); break;
    default: convert_pixel_span(source, pixmap.format, row, FORMAT_RGBA32, pixmap.width); break;
    }
}

// The only frame that libpng jumps back to; row is one packed row's room.
bool write_png(png_structp png, png_infop info, const TPixmap& pixmap, uint8_t* row)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixmap.width),
                 static_cast<png_uint_32>(pixmap.height), 8, png_colour_type(pixmap.format),
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < pixmap.height; ++y) {
        pack_row(pixmap, y, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

class PngWriter {
public:
    PngWriter()
    {
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
        if (png_)
            info_ = png_create_info_struct(png_);
    }
    ~PngWriter()
    {
        if (png_)
            png_destroy_write_struct(&png_, &info_);
    }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    bool ready() const noexcept { return png_ && info_; }
    png_structp png() const noexcept { return png_; }
    png_infop info() const noexcept { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

} // namespace

std::vector<uint8_t> encode_pixmap_png(const TPixmap& pixmap)
{
    std::vector<uint8_t> out;
    if (pixmap.format <= FORMAT_NONE || !is_pixel_format(pixmap.format) || pixmap.width < 1 ||
        pixmap.height < 1 || !pixmap.pixels)
        return out;
    const PngWriter writer;
    if (!writer.ready())
        return out;
    EncodeSession session{&out};
    png_set_write_fn(writer.png(), &session, png_memory_write, png_memory_flush);
    std::vector<uint8_t> row(static_cast<size_t>(pixmap.width) * 4);
    if (!write_png(writer.png(), writer.info(), pixmap, row.data()))
        out.clear();
    return out;
}

} // namespace vantrel
