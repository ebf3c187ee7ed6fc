// TPixmap construction, views, row-wise copies and single-pixel access.
#include "assets/pixmap.h"

#include "core/error.h"

#include <limits>
#include <new>

namespace vantrel {

namespace {

constexpr size_t PIXEL_ALIGN = 16;

// The block behind an owned pixmap, its size rounded up to the alignment so
// whole 16-byte loads stay inside it; an empty pixmap still gets a valid
// pointer.
uint8_t* allocate_block(int64_t capacity, std::align_val_t alignment)
{
    const size_t bytes = (static_cast<size_t>(capacity) + PIXEL_ALIGN - 1) & ~(PIXEL_ALIGN - 1);
    void* block = ::operator new(bytes ? bytes : PIXEL_ALIGN, alignment, std::nothrow);
    if (!block)
        raise_error(u"Unable to allocate pixmap memory");
    return static_cast<uint8_t*>(block);
}

} // namespace

Ref<TPixmap> TPixmap::new_pixmap(int32_t w, int32_t h, int32_t format, int32_t align)
{
    if (w < 0 || h < 0 || !is_pixel_format(format))
        raise_error(u"Invalid pixmap size or format");
    int64_t row = static_cast<int64_t>(w) * PIXEL_BYTES[format];
    if (align > 1 && row % align != 0)
        row += align - row % align;
    const int64_t capacity = row * h;
    if (row > std::numeric_limits<int32_t>::max() || capacity > std::numeric_limits<int32_t>::max())
        raise_error(u"Pixmap too large");

    auto pixmap = make_ref<TPixmap>();
    pixmap->owned_.reset(allocate_block(capacity, BLOCK_ALIGN));
    pixmap->pixels = pixmap->owned_.get();
    pixmap->width = w;
    pixmap->height = h;
    pixmap->pitch = static_cast<int32_t>(row);
    pixmap->format = format;
    pixmap->capacity = static_cast<int32_t>(capacity);
    return pixmap;
}

Ref<TPixmap> TPixmap::wrap_pixels(void* pixels, int32_t w, int32_t h, int32_t pitch,
                                  int32_t format)
{
    auto pixmap = make_ref<TPixmap>();
    pixmap->pixels = static_cast<uint8_t*>(pixels);
    pixmap->width = w;
    pixmap->height = h;
    pixmap->pitch = pitch;
    pixmap->format = format;
    pixmap->capacity = -1;
    return pixmap;
}

Ref<TPixmap> TPixmap::window(int32_t x, int32_t y, int32_t w, int32_t h) const
{
    auto view = wrap_pixels(pixel_ptr(x, y), w, h, pitch, format);
    view->parent_ = Ref<const TPixmap>(this);
    return view;
}

Ref<TPixmap> TPixmap::copy() const
{
    auto dst = new_pixmap(width, height, format, 4);
    for (int32_t y = 0; y < height; ++y)
        copy_pixel_span(pixel_ptr(0, y), dst->pixel_ptr(0, y), format, width);
    return dst;
}

void TPixmap::paste(const Ref<TPixmap>& source, int32_t x, int32_t y)
{
    const TPixmap& src = *source;
    for (int32_t r = 0; r < src.height; ++r)
        convert_pixel_span(src.pixel_ptr(0, r), src.format, pixel_ptr(x, y + r), format, src.width);
}

Ref<TPixmap> TPixmap::convert(int32_t new_format) const
{
    auto dst = new_pixmap(width, height, new_format, 4);
    for (int32_t y = 0; y < height; ++y)
        convert_pixel_span(pixel_ptr(0, y), format, dst->pixel_ptr(0, y), new_format, width);
    return dst;
}

uint32_t TPixmap::get_pixel(int32_t x, int32_t y) const noexcept
{
    const uint8_t* p = pixel_ptr(x, y);
    switch (format) {
    case FORMAT_GRAY8: return make_argb(255, p[0], p[0], p[0]);
    case FORMAT_ALPHA8: return make_argb(p[0], 255, 255, 255);
    case FORMAT_BGR24: return make_argb(255, p[2], p[1], p[0]);
    case FORMAT_RGB24: return make_argb(255, p[0], p[1], p[2]);
    case FORMAT_BGRA32: return make_argb(p[3], p[2], p[1], p[0]);
    case FORMAT_RGBA32: return make_argb(p[3], p[0], p[1], p[2]);
    default: return 0;
    }
}

void TPixmap::put_pixel(int32_t x, int32_t y, uint32_t argb) noexcept
{
    const uint8_t a = argb >> 24, r = argb >> 16, g = argb >> 8, b = argb;
    uint8_t* p = pixel_ptr(x, y);
    switch (format) {
    case FORMAT_GRAY8: p[0] = static_cast<uint8_t>((r + g + b) / 3); break;
    case FORMAT_ALPHA8: p[0] = a; break;
    case FORMAT_BGR24: p[0] = b, p[1] = g, p[2] = r; break;
    case FORMAT_RGB24: p[0] = r, p[1] = g, p[2] = b; break;
    case FORMAT_BGRA32: p[0] = b, p[1] = g, p[2] = r, p[3] = a; break;
    case FORMAT_RGBA32: p[0] = r, p[1] = g, p[2] = b, p[3] = a; break;
    default: break;
    }
}

} // namespace vantrel
