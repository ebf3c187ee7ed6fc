// Bilinear resizing on a pixel-centre grid. Positions are found in single
// precision and the blend is done in double precision, so results are the same
// on every host; samples beyond the edge repeat the outermost pixels.
#include "assets/pixmap_ops.h"

#include <cmath>
#include <vector>

namespace vantrel {

namespace {

// Where destination coordinate i samples along one axis: the source index of
// the first tap, the weight of the second tap and the byte step to it.
struct Tap {
    int32_t index;
    float weight;
    int32_t step;
};

Tap find_tap(int32_t i, float scale, int32_t src_size, int32_t step)
{
    const float f = (static_cast<float>(i) + 0.5f) * scale - 0.5f;
    const int32_t index = static_cast<int32_t>(std::floor(f));
    if (index < 0)
        return {0, 0.0f, 0};
    if (index >= src_size - 1)
        return {src_size - 1, 0.0f, 0};
    return {index, f - static_cast<float>(index), step};
}

uint8_t blend(const uint8_t* tl, const Tap& col, const Tap& row)
{
    const double a = tl[0], b = tl[col.step], c = tl[row.step], d = tl[row.step + col.step];
    const double top = a + (b - a) * col.weight;
    const double bottom = c + (d - c) * col.weight;
    const double value = top + (bottom - top) * row.weight;
    return static_cast<uint8_t>(static_cast<int32_t>(value) & 255);
}

void scale_row(const TPixmap& src, const Tap& row, float sx, std::vector<uint8_t>& out)
{
    const int32_t count = static_cast<int32_t>(out.size() / 4);
    for (int32_t x = 0; x < count; ++x) {
        const Tap col = find_tap(x, sx, src.width, 4);
        const uint8_t* tl = src.pixel_ptr(col.index, row.index);
        for (int c = 0; c < 4; ++c)
            out[static_cast<size_t>(x) * 4 + c] = blend(tl + c, col, row);
    }
}

} // namespace

Ref<TPixmap> scale_pixmap(const Ref<TPixmap>& pixmap, int32_t new_width, int32_t new_height)
{
    const Ref<TPixmap> src =
        pixmap->format == FORMAT_RGBA32 ? pixmap : pixmap->convert(FORMAT_RGBA32);
    auto dst = new_pixmap(new_width, new_height, pixmap->format, 4);
    const float sx =
        new_width > 0 ? static_cast<float>(src->width) / static_cast<float>(new_width) : 0.0f;
    const float sy =
        new_height > 0 ? static_cast<float>(src->height) / static_cast<float>(new_height) : 0.0f;
    // An empty source has nothing to sample: the result is transparent black.
    const bool empty = src->width == 0 || src->height == 0;
    std::vector<uint8_t> row(static_cast<size_t>(new_width) * 4, 0);
    for (int32_t y = 0; y < new_height; ++y) {
        if (!empty)
            scale_row(*src, find_tap(y, sy, src->height, src->pitch), sx, row);
        convert_pixel_span(row.data(), FORMAT_RGBA32, dst->pixel_ptr(0, y), dst->format,
                           new_width);
    }
    return dst;
}

} // namespace vantrel
