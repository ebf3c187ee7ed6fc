// Colour-key masking: the key colour becomes transparent, and its pixels take
// the average colour of their unmasked neighbours so that linear filtering at
// a sprite's border does not bleed the key colour in.
#include "assets/pixmap_ops.h"

#include <algorithm>

namespace vantrel {

namespace {

struct ColourKey {
    int32_t red, green, blue;
    bool matches(const uint8_t* p) const noexcept
    {
        return p[0] == red && p[1] == green && p[2] == blue;
    }
};

// The colour of a masked pixel: the mean of the unmasked pixels of the 3 x 3
// block around (x, y) inside the pixmap, or black when there are none.
void fill_masked(const TPixmap& src, int32_t x, int32_t y, const ColourKey& key, uint8_t* out)
{
    int32_t sum[3] = {0, 0, 0};
    int32_t count = 0;
    const int32_t x1 = std::min(x + 1, src.width - 1);
    const int32_t y1 = std::min(y + 1, src.height - 1);
    for (int32_t ny = std::max(y - 1, 0); ny <= y1; ++ny) {
        for (int32_t nx = std::max(x - 1, 0); nx <= x1; ++nx) {
            const uint8_t* p = src.pixel_ptr(nx, ny);
            if (!key.matches(p)) {
                sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
                ++count;
            }
        }
    }
    for (int c = 0; c < 3; ++c)
        out[c] = static_cast<uint8_t>(count ? sum[c] / count : 0);
    out[3] = 0;
}

} // namespace

Ref<TPixmap> apply_colour_key(const Ref<TPixmap>& pixmap, int32_t key_red, int32_t key_green,
                              int32_t key_blue)
{
    const Ref<TPixmap> src =
        pixmap->format == FORMAT_RGBA32 ? pixmap : pixmap->convert(FORMAT_RGBA32);
    auto dst = new_pixmap(src->width, src->height, FORMAT_RGBA32, 4);
    const ColourKey key{key_red, key_green, key_blue};
    for (int32_t y = 0; y < src->height; ++y) {
        const uint8_t* s = src->pixel_ptr(0, y);
        uint8_t* d = dst->pixel_ptr(0, y);
        for (int32_t x = 0; x < src->width; ++x, s += 4, d += 4) {
            if (key.matches(s))
                fill_masked(*src, x, y, key, d);
            else
                d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
        }
    }
    return dst;
}

} // namespace vantrel
