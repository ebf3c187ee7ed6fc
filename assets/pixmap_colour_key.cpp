// Colour-key masking: the key colour becomes transparent, and its pixels take
// the average colour of their unmasked neighbours so that linear filtering at
// a sprite's border does not bleed the key colour in.
//
// The 3 x 3 averages come from running sums: each row keeps, per column, the
// sum and count of the unmasked pixels in columns x-1..x+1, and a masked
// pixel adds up the rows above, at and below it. RGB24 and RGBA32 pictures
// are read in place; other formats go through RGBA first.
#include "assets/pixmap_ops.h"

#include <vector>

namespace vantrel {

namespace {

struct ColourKey {
    int32_t red, green, blue;
    bool matches(const uint8_t* p) const noexcept
    {
        return p[0] == red && p[1] == green && p[2] == blue;
    }
};

// Sums of red, green, blue and a pixel count in four 16-bit lanes of one
// word. Nine pixels sum to at most 2295 per lane, so lanes never carry into
// each other and three rows add with plain additions.
using Sums = uint64_t;

constexpr Sums lanes(uint32_t r, uint32_t g, uint32_t b, uint32_t n)
{
    return Sums{r} | Sums{g} << 16 | Sums{b} << 32 | Sums{n} << 48;
}

constexpr uint32_t lane(Sums s, int i) { return static_cast<uint32_t>(s >> (16 * i)) & 0xFFFF; }

// Division by a count of 1..9 as a multiply and shift; exact for every sum of
// nine 8-bit values (checked below at compile time).
constexpr uint32_t RECIPROCAL[10] = {0,           65536,         65536 / 2 + 1, 65536 / 3 + 1,
                                     65536 / 4,   65536 / 5 + 1, 65536 / 6 + 1, 65536 / 7 + 1,
                                     65536 / 8,   65536 / 9 + 1};

constexpr bool reciprocals_are_exact()
{
    for (uint32_t n = 1; n <= 9; ++n)
        for (uint32_t sum = 0; sum <= 9 * 255; ++sum)
            if ((sum * RECIPROCAL[n]) >> 16 != sum / n)
                return false;
    return true;
}
static_assert(reciprocals_are_exact());

// Per column x, the unmasked pixels of this row in columns x-1..x+1.
void row_sums(const uint8_t* row, int32_t step, int32_t width, const ColourKey& key, Sums* out)
{
    auto value = [&](int32_t x) {
        const uint8_t* p = row + static_cast<ptrdiff_t>(x) * step;
        return key.matches(p) ? Sums{0} : lanes(p[0], p[1], p[2], 1);
    };
    Sums left = 0, centre = width > 0 ? value(0) : 0;
    for (int32_t x = 0; x < width; ++x) {
        const Sums right = x + 1 < width ? value(x + 1) : 0;
        out[x] = left + centre + right;
        left = centre;
        centre = right;
    }
}

void write_masked(Sums total, uint8_t* d)
{
    const uint32_t m = RECIPROCAL[lane(total, 3)]; // 0 when nothing around is unmasked
    d[0] = static_cast<uint8_t>((lane(total, 0) * m) >> 16);
    d[1] = static_cast<uint8_t>((lane(total, 1) * m) >> 16);
    d[2] = static_cast<uint8_t>((lane(total, 2) * m) >> 16);
    d[3] = 0;
}

} // namespace

Ref<TPixmap> apply_colour_key(const Ref<TPixmap>& pixmap, int32_t key_red, int32_t key_green,
                              int32_t key_blue)
{
    const bool in_place = pixmap->format == FORMAT_RGB24 || pixmap->format == FORMAT_RGBA32;
    const Ref<TPixmap> src = in_place ? pixmap : pixmap->convert(FORMAT_RGBA32);
    const int32_t w = src->width, h = src->height, step = pixel_bytes(src->format);
    auto dst = new_pixmap(w, h, FORMAT_RGBA32, 4);
    const ColourKey key{key_red, key_green, key_blue};

    // Running sums of rows y-1, y and y+1, in a ring of three.
    std::vector<Sums> ring(static_cast<size_t>(w) * 3);
    auto sums_of = [&](int32_t y) { return ring.data() + static_cast<size_t>(y % 3) * w; };
    if (h > 0)
        row_sums(src->pixel_ptr(0, 0), step, w, key, sums_of(0));
    for (int32_t y = 0; y < h; ++y) {
        if (y + 1 < h)
            row_sums(src->pixel_ptr(0, y + 1), step, w, key, sums_of(y + 1));
        const Sums* above = y > 0 ? sums_of(y - 1) : nullptr;
        const Sums* here = sums_of(y);
        const Sums* below = y + 1 < h ? sums_of(y + 1) : nullptr;
        const uint8_t* s = src->pixel_ptr(0, y);
        uint8_t* d = dst->pixel_ptr(0, y);
        for (int32_t x = 0; x < w; ++x, s += step, d += 4) {
            if (key.matches(s))
                write_masked(here[x] + (above ? above[x] : 0) + (below ? below[x] : 0), d);
            else
                d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
        }
    }
    return dst;
}

} // namespace vantrel
