// JPEG decoding through libjpeg, fed from a TByteStream.
//
// libjpeg leaves by longjmp (see jpeg_source.h), so the two steps that run
// libjpeg, read_header() and read_rows(), set their own jump target and hold
// nothing with a destructor. The decompressor, the pixmap and any kept
// stream error live in load(), which no jump crosses.
#include "assets/jpeg/jpeg_loader.h"

#include "assets/jpeg/jpeg_source.h"
#include "assets/loader_input.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace vantrel {

using jpeg_detail::JpegErrors;
using jpeg_detail::JpegSource;

namespace {

// libjpeg's own bookkeeping beyond the picture's coefficients.
constexpr long JPEG_BASE_MEMORY = 16L << 20;
// Whole-picture coefficient buffers take 2 bytes per pixel per component.
constexpr long JPEG_MEMORY_PER_PIXEL = 8;

// The decompressor of one decode, destroyed on every path.
class Decompressor {
public:
    Decompressor(JpegErrors& errors, JpegSource& source)
    {
        info.err = jpeg_detail::use_jumping_errors(errors);
        if (setjmp(errors.jump))
            return; // out of memory while creating: ready() stays false
        jpeg_create_decompress(&info);
        jpeg_detail::use_stream_source(&info, source);
        created_ = true;
    }
    ~Decompressor()
    {
        if (created_)
            jpeg_destroy_decompress(&info);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    bool ready() const noexcept { return created_; }

    jpeg_decompress_struct info{};

private:
    bool created_ = false;
};

// Reads the start of the data into the source's buffer, where libjpeg will
// find it.
bool has_jpeg_signature(TByteStream& stream, JpegSource& source)
{
    JOCTET* start = source.buffer;
    source.preloaded = static_cast<size_t>(read_up_to(stream, start, 3));
    return source.preloaded == 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF;
}

// Reads the header and settles the output: grey or RGB at full size.
bool read_header(j_decompress_ptr info, JpegErrors* errors)
{
    if (setjmp(errors->jump))
        return false;
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info->num_components == 1)
        info->out_color_space = JCS_GRAYSCALE;
    else if (info->jpeg_color_space == JCS_YCbCr || info->jpeg_color_space == JCS_RGB)
        info->out_color_space = JCS_RGB;
    else if (info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK)
        info->out_color_space = JCS_CMYK;
    else
        return false;
    jpeg_calc_output_dimensions(info);
    return true;
}

// Inks as light: under an Adobe marker the inks are stored inverted (255 is
// no ink), as the programs that write that marker do.
void inks_to_rgb(const j_decompress_ptr info, const uint8_t* inks, uint8_t* rgb)
{
    const bool inverted = info->saw_Adobe_marker;
    for (JDIMENSION x = 0; x < info->output_width; ++x, inks += 4, rgb += 3) {
        const int k = inverted ? inks[3] : 255 - inks[3];
        for (int c = 0; c < 3; ++c) {
            const int light = inverted ? inks[c] : 255 - inks[c];
            rgb[c] = static_cast<uint8_t>((light * k + 127) / 255);
        }
    }
}

// Decodes every row into pixels, one pitch apart; four-ink rows go through
// inks, a row of width x 4 bytes.
bool read_rows(j_decompress_ptr info, JpegErrors* errors, uint8_t* pixels, int32_t pitch,
               uint8_t* inks)
{
    if (setjmp(errors->jump))
        return false;
    if (!jpeg_start_decompress(info))
        return false;
    while (info->output_scanline < info->output_height) {
        uint8_t* target = pixels + static_cast<ptrdiff_t>(info->output_scanline) * pitch;
        JSAMPROW row = info->output_components == 4 ? inks : target;
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return false;
        if (info->output_components == 4)
            inks_to_rgb(info, inks, target);
    }
    jpeg_finish_decompress(info);
    return true;
}

// Side limits, and no more pixels than the rest of the stream can describe.
bool size_is_plausible(const jpeg_decompress_struct& info, int64_t bytes_left)
{
    if (info.output_width < 1 || info.output_height < 1 ||
        info.output_width > JPEG_MAX_SIDE || info.output_height > JPEG_MAX_SIDE)
        return false;
    const int64_t pixels = int64_t{info.output_width} * info.output_height;
    if (info.arith_code && pixels <= JPEG_ARITHMETIC_PIXELS)
        return true;
    return bytes_left < 0 || pixels <= (bytes_left + 1024) * JPEG_PIXELS_PER_BYTE;
}

void limit_memory(jpeg_decompress_struct& info)
{
    const int64_t pixels = int64_t{info.output_width} * info.output_height;
    const int64_t limit = JPEG_BASE_MEMORY + pixels * JPEG_MEMORY_PER_PIXEL;
    info.mem->max_memory_to_use =
        static_cast<long>(std::min<int64_t>(limit, std::numeric_limits<long>::max()));
}

Ref<TPixmap> decode(Decompressor& decompressor, JpegErrors& errors, int64_t bytes_left)
{
    jpeg_decompress_struct& info = decompressor.info;
    if (!read_header(&info, &errors) || !size_is_plausible(info, bytes_left) ||
        (info.output_components != 1 && info.output_components != 3 &&
         info.output_components != 4))
        return {};
    limit_memory(info);
    const int32_t format = info.output_components == 1 ? FORMAT_GRAY8 : FORMAT_RGB24;
    Ref<TPixmap> pixmap = new_pixmap(static_cast<int32_t>(info.output_width),
                                     static_cast<int32_t>(info.output_height), format, 4);
    std::vector<uint8_t> inks(info.output_components == 4 ? size_t{info.output_width} * 4 : 0);
    if (!read_rows(&info, &errors, pixmap->pixels, pixmap->pitch, inks.data()))
        return {};
    return pixmap;
}

} // namespace

Ref<TPixmap> TJpegLoader::load(const Ref<TByteStream>& stream)
{
    if (!stream)
        return {};
    std::exception_ptr failure;
    auto source = std::make_unique<JpegSource>();
    source->stream = stream.get();
    source->failure = &failure;
    if (!has_jpeg_signature(*stream, *source))
        return {};
    const int64_t bytes_left = stream_bytes_left(*stream);
    JpegErrors errors{};
    Ref<TPixmap> pixmap;
    {
        Decompressor decompressor(errors, *source);
        if (decompressor.ready())
            pixmap = decode(decompressor, errors, bytes_left);
    }
    if (failure)
        std::rethrow_exception(failure);
    return pixmap;
}

} // namespace vantrel
