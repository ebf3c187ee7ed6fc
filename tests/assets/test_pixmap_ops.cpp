// Colour-key masking, bilinear resizing and mirroring.
#include "assets/pixmap_ops.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace vantrel {
namespace {

constexpr uint32_t RED = 0xFFFF0000, BLUE = 0xFF0000FF, MAGENTA = 0xFFFF00FF;

Ref<TPixmap> from_pixels(int32_t w, int32_t h, int32_t format, const std::vector<uint32_t>& argb)
{
    auto p = new_pixmap(w, h, format, 4);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            p->put_pixel(x, y, argb[static_cast<size_t>(y * w + x)]);
    return p;
}

// Pixels with every channel different, so mix-ups show.
Ref<TPixmap> noise(int32_t w, int32_t h, int32_t format)
{
    auto p = new_pixmap(w, h, format, 4);
    uint32_t state = 7;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            p->put_pixel(x, y, state);
        }
    }
    return p;
}

// --- apply_colour_key ----------------------------------------------------

TEST(ColourKey, MaskedPixelTakesTheAverageOfItsNeighbours)
{
    auto src = from_pixels(3, 1, FORMAT_RGB24, {RED, MAGENTA, BLUE});
    auto dst = apply_colour_key(src, 255, 0, 255);
    EXPECT_EQ(dst->format, FORMAT_RGBA32);
    EXPECT_EQ(dst->get_pixel(0, 0), make_argb(255, 255, 0, 0));
    EXPECT_EQ(dst->get_pixel(1, 0), make_argb(0, 127, 0, 127));
    EXPECT_EQ(dst->get_pixel(2, 0), make_argb(255, 0, 0, 255));
    EXPECT_EQ(src->get_pixel(1, 0), make_argb(255, 255, 0, 255)); // source untouched
}

TEST(ColourKey, OnlyKeyColourEverywhereGivesTransparentBlack)
{
    auto src = from_pixels(3, 2, FORMAT_RGB24, std::vector<uint32_t>(6, 0xFFFFFFFF));
    auto dst = apply_colour_key(src, 255, 255, 255);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(dst->get_pixel(x, y), 0u);
}

TEST(ColourKey, SurvivingPixelsBecomeOpaque)
{
    auto src = from_pixels(2, 1, FORMAT_RGBA32, {0x80102030, 0x00405060});
    auto dst = apply_colour_key(src, 1, 2, 3);
    EXPECT_EQ(dst->get_pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(dst->get_pixel(1, 0), 0xFF405060u);
}

TEST(ColourKey, KeyIgnoresAlphaAndOtherMaskedNeighbours)
{
    // Centre and its right neighbour are the key (black, one of them
    // half-transparent); the centre averages the other seven, truncating.
    auto src = from_pixels(3, 3, FORMAT_RGBA32,
                           {0xFF0A0000, 0xFF0B0000, 0xFF0A0000,
                            0xFF0B0000, 0xFF000000, 0x80000000,
                            0xFF0A0000, 0xFF0B0000, 0xFF0A0101});
    auto dst = apply_colour_key(src, 0, 0, 0);
    // Reds 10,11,10,11,10,11,10 = 73 / 7 = 10; green and blue 1 / 7 = 0.
    EXPECT_EQ(dst->get_pixel(1, 1), make_argb(0, 10, 0, 0));
    // (2,1) sees four unmasked pixels inside the pixmap: reds 11, 10, 11, 10
    // and one green and blue of 1, which truncate away.
    EXPECT_EQ(dst->get_pixel(2, 1), make_argb(0, 10, 0, 0));
}

TEST(ColourKey, CornerLooksOnlyInsideThePixmap)
{
    auto src = from_pixels(2, 2, FORMAT_BGR24, {MAGENTA, 0xFF0000C8, 0xFF000064, 0xFF00003C});
    auto dst = apply_colour_key(src, 255, 0, 255);
    EXPECT_EQ(dst->get_pixel(0, 0), make_argb(0, 0, 0, (200 + 100 + 60) / 3));
}

TEST(ColourKey, GreySourceIsComparedAfterExpansion)
{
    auto src = from_pixels(2, 1, FORMAT_GRAY8, {0xFFFFFFFF, 0xFF404040});
    auto dst = apply_colour_key(src, 255, 255, 255);
    EXPECT_EQ(dst->get_pixel(0, 0), make_argb(0, 0x40, 0x40, 0x40));
    EXPECT_EQ(dst->get_pixel(1, 0), make_argb(255, 0x40, 0x40, 0x40));
}

// The rule written out plainly: a key pixel takes the truncated mean of the
// unmasked pixels in its 3 x 3 block inside the pixmap.
uint32_t reference_key(const TPixmap& p, int32_t x, int32_t y, uint32_t key_rgb)
{
    const uint32_t centre = p.get_pixel(x, y);
    if ((centre & 0xFFFFFF) != key_rgb)
        return centre | 0xFF000000;
    uint32_t r = 0, g = 0, b = 0, n = 0;
    for (int32_t ny = y - 1; ny <= y + 1; ++ny) {
        for (int32_t nx = x - 1; nx <= x + 1; ++nx) {
            if (nx < 0 || ny < 0 || nx >= p.width || ny >= p.height)
                continue;
            const uint32_t c = p.get_pixel(nx, ny);
            if ((c & 0xFFFFFF) == key_rgb)
                continue;
            r += c >> 16 & 255, g += c >> 8 & 255, b += c & 255, ++n;
        }
    }
    return n ? make_argb(0, r / n, g / n, b / n) : 0;
}

TEST(ColourKey, MatchesThePlainRuleOnDenseRandomMasks)
{
    for (int32_t format : {FORMAT_RGB24, FORMAT_RGBA32, FORMAT_BGR24, FORMAT_BGRA32}) {
        for (auto [w, h] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{9, 1}, std::pair{23, 17}}) {
            // About half the pixels are the key; the rest vary widely.
            auto src = noise(w, h, format);
            for (int32_t y = 0; y < h; ++y)
                for (int32_t x = 0; x < w; ++x)
                    if ((src->get_pixel(x, y) >> 3) % 2 != 0)
                        src->put_pixel(x, y, 0xFF0080FF);
            auto dst = apply_colour_key(src, 0, 0x80, 0xFF);
            for (int32_t y = 0; y < h; ++y)
                for (int32_t x = 0; x < w; ++x)
                    ASSERT_EQ(dst->get_pixel(x, y), reference_key(*src, x, y, 0x0080FF))
                        << "format " << format << " " << w << "x" << h << " at " << x << "," << y;
        }
    }
}

// --- scale_pixmap ----------------------------------------------------------

TEST(ScalePixmap, UpscaleMakesTheCentreAlignedRamp)
{
    for (int32_t format : {FORMAT_RGBA32, FORMAT_RGB24, FORMAT_GRAY8}) {
        auto src = from_pixels(2, 1, format, {0xFF000000, 0xFFFFFFFF});
        auto dst = scale_pixmap(src, 4, 1);
        ASSERT_EQ(dst->width, 4);
        EXPECT_EQ(dst->format, format);
        const uint8_t expect[] = {0, 63, 191, 255};
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(dst->get_pixel(x, 0), make_argb(255, expect[x], expect[x], expect[x]))
                << "format " << format << " x " << x;
    }
}

TEST(ScalePixmap, VerticalRampStepsByThePitch)
{
    // A window into a wider pixmap: rows are further apart than the width.
    auto wide = new_pixmap(9, 2, FORMAT_RGBA32, 4);
    wide->put_pixel(3, 0, 0x00000000);
    wide->put_pixel(3, 1, 0xFFFFFFFF);
    auto column = wide->window(3, 0, 1, 2);
    auto dst = scale_pixmap(column, 1, 4);
    const uint8_t expect[] = {0, 63, 191, 255};
    for (int32_t y = 0; y < 4; ++y)
        EXPECT_EQ(dst->get_pixel(0, y), make_argb(expect[y], expect[y], expect[y], expect[y]));
}

TEST(ScalePixmap, HalvingAveragesPairs)
{
    auto src = from_pixels(4, 1, FORMAT_RGBA32, {0xFF000000, 0xFF0A0A0A, 0xFF646464, 0xFFC8C8C8});
    auto dst = scale_pixmap(src, 2, 1);
    EXPECT_EQ(dst->get_pixel(0, 0), 0xFF050505u);
    EXPECT_EQ(dst->get_pixel(1, 0), 0xFF969696u);
}

TEST(ScalePixmap, SameSizeIsAnEqualCopy)
{
    auto src = noise(13, 7, FORMAT_BGRA32);
    auto dst = scale_pixmap(src, 13, 7);
    EXPECT_NE(dst->pixels, src->pixels);
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 13; ++x)
            ASSERT_EQ(dst->get_pixel(x, y), src->get_pixel(x, y)) << x << "," << y;
}

TEST(ScalePixmap, BilinearInBothDirections)
{
    // 2 x 2 to 4 x 4: inner samples sit a quarter of the way in each way.
    auto src = from_pixels(2, 2, FORMAT_RGBA32, {0xFF000000, 0xFF640000, 0xFF00C800, 0xFF6464C8});
    auto dst = scale_pixmap(src, 4, 4);
    // (1,1): tx = ty = 0.25. Red 25 on both rows; green 0 above, 175 below,
    // 43.75; blue 0 above, 50 below, 12.5.
    EXPECT_EQ(dst->get_pixel(1, 1), make_argb(255, 25, 43, 12));
    // (2,2): tx = ty = 0.75. Red 75; green 0 above, 125 below, 93.75; blue 0
    // above, 150 below, 112.5.
    EXPECT_EQ(dst->get_pixel(2, 2), make_argb(255, 75, 93, 112));
    EXPECT_EQ(dst->get_pixel(3, 3), 0xFF6464C8u); // clamped corner
    EXPECT_EQ(dst->get_pixel(0, 0), 0xFF000000u);
}

TEST(ScalePixmap, SinglePixelFillsTheResult)
{
    auto src = from_pixels(1, 1, FORMAT_RGB24, {0xFF123456});
    auto dst = scale_pixmap(src, 3, 5);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(dst->get_pixel(x, y), 0xFF123456u);
}

TEST(ScalePixmap, EmptySizesDoNotReadOutside)
{
    auto empty = new_pixmap(0, 0, FORMAT_RGBA32, 4);
    auto grown = scale_pixmap(empty, 2, 2);
    EXPECT_EQ(grown->get_pixel(1, 1), 0u);
    auto shrunk = scale_pixmap(noise(3, 3, FORMAT_RGB24), 0, 4);
    EXPECT_EQ(shrunk->width, 0);
    EXPECT_THROW(scale_pixmap(noise(3, 3, FORMAT_RGB24), -1, 4), TRuntimeError);
}

// --- mirroring -------------------------------------------------------------

TEST(Mirror, XReversesColumns)
{
    auto src = noise(5, 3, FORMAT_RGB24);
    auto dst = mirror_pixmap_x(src);
    EXPECT_EQ(dst->format, FORMAT_RGB24);
    EXPECT_EQ(dst->pitch, 16);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(dst->get_pixel(x, y), src->get_pixel(4 - x, y));
}

TEST(Mirror, YReversesRows)
{
    auto src = noise(3, 5, FORMAT_GRAY8);
    auto dst = mirror_pixmap_y(src);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(dst->get_pixel(x, y), src->get_pixel(x, 4 - y));
}

TEST(Mirror, EmptyPixmapsStayEmpty)
{
    EXPECT_EQ(mirror_pixmap_x(new_pixmap(0, 3, FORMAT_RGBA32, 4))->width, 0);
    EXPECT_EQ(mirror_pixmap_y(new_pixmap(3, 0, FORMAT_RGBA32, 4))->height, 0);
}

} // namespace
} // namespace vantrel
