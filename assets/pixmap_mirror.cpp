// Mirroring: new pixmaps with the columns or the rows in reverse order.
#include "assets/pixmap_ops.h"

#include <cstring>

namespace vantrel {

Ref<TPixmap> mirror_pixmap_x(const Ref<TPixmap>& pixmap)
{
    const TPixmap& src = *pixmap;
    auto dst = new_pixmap(src.width, src.height, src.format, 4);
    const int32_t bytes = pixel_bytes(src.format);
    for (int32_t y = 0; y < src.height; ++y) {
        const uint8_t* s = src.pixel_ptr(0, y);
        uint8_t* d = dst->pixel_ptr(0, y);
        for (int32_t x = 0; x < src.width; ++x)
            std::memcpy(d + static_cast<ptrdiff_t>(x) * bytes,
                        s + static_cast<ptrdiff_t>(src.width - 1 - x) * bytes,
                        static_cast<size_t>(bytes));
    }
    return dst;
}

Ref<TPixmap> mirror_pixmap_y(const Ref<TPixmap>& pixmap)
{
    const TPixmap& src = *pixmap;
    auto dst = new_pixmap(src.width, src.height, src.format, 4);
    for (int32_t y = 0; y < src.height; ++y)
        copy_pixel_span(src.pixel_ptr(0, src.height - 1 - y), dst->pixel_ptr(0, y), src.format,
                        src.width);
    return dst;
}

} // namespace vantrel
