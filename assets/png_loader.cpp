// PNG decoding through libpng, fed from a TByteStream.
//
// libpng reports errors by longjmp, so no C++ exception may cross its frames
// and no object with a destructor may live between the setjmp and libpng's
// callbacks. The read callback catches whatever the stream raises, keeps it,
// and fails through png_error; the error handler jumps back into
// decode_rows(), and the exception is raised again only after libpng has
// released everything.
#include "assets/png_loader.h"

#include "assets/png_memory.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

namespace vantrel {

using png_detail::PngMemory;

namespace {

// Ancillary chunks larger than this are refused (the game's have none).
constexpr png_alloc_size_t PNG_CHUNK_MAX = 8u << 20;

// The stream libpng's read callback reads from; null between decodes. One
// per thread, so that threads may decode pictures at the same time.
thread_local Ref<TByteStream> current_png_stream;

struct PngSession {
    PngMemory memory;
    std::exception_ptr stream_failure; // raised by the stream inside libpng
};

struct PngHeader {
    png_uint_32 width = 0, height = 0;
    int bit_depth = 0, colour_type = 0;
};

PngSession& session_of(png_structp png)
{
    return *static_cast<PngSession*>(png_get_error_ptr(png));
}

[[noreturn]] void on_png_error(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

// Reads exactly length bytes. read_bytes stops quietly at the end of the
// data; the position tells whether it came short, and the zero fill keeps
// stale bytes out where the stream cannot tell its position.
bool fill_from_stream(TByteStream& stream, uint8_t* buffer, size_t length)
{
    while (length > 0) {
        const auto n = static_cast<int32_t>(
            std::min<size_t>(length, std::numeric_limits<int32_t>::max()));
        std::memset(buffer, 0, static_cast<size_t>(n));
        const int32_t before = stream.pos();
        stream.read_bytes(buffer, n);
        const int32_t after = stream.pos();
        if (before >= 0 && after >= 0 && after - before < n)
            return false;
        buffer += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool read_or_keep_error(png_structp png, uint8_t* buffer, size_t length) noexcept
{
    try {
        return current_png_stream && fill_from_stream(*current_png_stream, buffer, length);
    } catch (...) {
        session_of(png).stream_failure = std::current_exception();
        return false;
    }
}

void png_stream_read(png_structp png, png_bytep buffer, size_t length)
{
    if (!read_or_keep_error(png, buffer, length))
        png_error(png, "Read error");
}

// The only frame that libpng jumps back to. It holds nothing that needs
// destroying, so the jump skips no destructor.
bool decode_rows(png_structp png, png_infop info, PngHeader* header)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_png(png, info, PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_EXPAND, nullptr);
    png_get_IHDR(png, info, &header->width, &header->height, &header->bit_depth,
                 &header->colour_type, nullptr, nullptr, nullptr);
    return true;
}

// Holds the stream in the current-stream slot for one decode, then closes it
// and empties the slot on every path.
class StreamSlot {
public:
    explicit StreamSlot(Ref<TByteStream> stream) { current_png_stream = std::move(stream); }
    ~StreamSlot()
    {
        const Ref<TByteStream> stream = std::move(current_png_stream); // leaves the slot null
        if (stream) {
            try {
                stream->close();
            } catch (...) {
                // Closing a stream that was only read from has nothing to report.
            }
        }
    }
    StreamSlot(const StreamSlot&) = delete;
    StreamSlot& operator=(const StreamSlot&) = delete;
};

// The libpng read and info structures of one decode.
class PngReader {
public:
    explicit PngReader(PngSession& session)
    {
        png_ = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &session, on_png_error,
                                        on_png_warning, &session.memory,
                                        png_detail::budget_malloc, png_detail::budget_free);
        if (png_)
            info_ = png_create_info_struct(png_);
    }
    ~PngReader()
    {
        if (png_)
            png_destroy_read_struct(&png_, &info_, nullptr);
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool ready() const noexcept { return png_ && info_; }
    png_structp png() const noexcept { return png_; }
    png_infop info() const noexcept { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

bool has_png_signature(TByteStream& stream)
{
    png_byte signature[8] = {};
    stream.read_bytes(signature, 8);
    return png_sig_cmp(signature, 0, 8) == 0;
}

// Bytes left after the signature, or -1 when the stream cannot tell.
int64_t remaining_bytes(TByteStream& stream)
{
    const int32_t pos = stream.pos();
    const int32_t size = stream.size();
    return pos >= 0 && size >= pos ? int64_t{size} - pos : -1;
}

void configure(png_structp png)
{
    png_set_sig_bytes(png, 8);
    png_set_read_fn(png, nullptr, png_stream_read);
    png_set_user_limits(png, PNG_MAX_SIDE, PNG_MAX_SIDE);
    png_set_chunk_malloc_max(png, PNG_CHUNK_MAX);
}

Ref<TPixmap> copy_rows(png_bytepp rows, const PngHeader& header, int32_t format)
{
    const auto width = static_cast<int32_t>(header.width);
    const auto height = static_cast<int32_t>(header.height);
    auto pixmap = new_pixmap(width, height, format, 4);
    for (int32_t y = 0; y < height; ++y)
        copy_pixel_span(rows[y], pixmap->pixel_ptr(0, y), format, width);
    return pixmap;
}

// PNG stores grey first, then alpha.
Ref<TPixmap> expand_grey_alpha(png_bytepp rows, const PngHeader& header)
{
    const auto width = static_cast<int32_t>(header.width);
    const auto height = static_cast<int32_t>(header.height);
    auto pixmap = new_pixmap(width, height, FORMAT_RGBA32, 4);
    for (int32_t y = 0; y < height; ++y) {
        const png_byte* s = rows[y];
        uint8_t* d = pixmap->pixel_ptr(0, y);
        for (int32_t x = 0; x < width; ++x, s += 2, d += 4)
            d[0] = d[1] = d[2] = s[0], d[3] = s[1];
    }
    return pixmap;
}

Ref<TPixmap> build_pixmap(const PngReader& reader, const PngHeader& header)
{
    png_bytepp rows = png_get_rows(reader.png(), reader.info());
    const size_t channels = png_get_channels(reader.png(), reader.info());
    if (header.bit_depth != 8 || !rows || header.width > PNG_MAX_SIDE ||
        header.height > PNG_MAX_SIDE ||
        png_get_rowbytes(reader.png(), reader.info()) < header.width * channels)
        return {};
    switch (header.colour_type) {
    case PNG_COLOR_TYPE_GRAY: return copy_rows(rows, header, FORMAT_GRAY8);
    case PNG_COLOR_TYPE_RGB: return copy_rows(rows, header, FORMAT_RGB24);
    case PNG_COLOR_TYPE_RGB_ALPHA: return copy_rows(rows, header, FORMAT_RGBA32);
    case PNG_COLOR_TYPE_GRAY_ALPHA: return expand_grey_alpha(rows, header);
    default: return {};
    }
}

} // namespace

Ref<TPixmap> load_png_pixmap(const Ref<TObject>& location)
{
    const StreamSlot slot(read_stream(location));
    if (!current_png_stream || !has_png_signature(*current_png_stream))
        return {};

    PngSession session;
    session.memory.budget = png_detail::png_budget(remaining_bytes(*current_png_stream));
    const PngReader reader(session);
    if (!reader.ready())
        return {};
    configure(reader.png());

    PngHeader header;
    if (!decode_rows(reader.png(), reader.info(), &header)) {
        if (session.stream_failure)
            std::rethrow_exception(session.stream_failure);
        return {};
    }
    return build_pixmap(reader, header);
}

Ref<TPixmap> TPngLoader::load(const Ref<TByteStream>& stream)
{
    return load_png_pixmap(stream);
}

} // namespace vantrel
