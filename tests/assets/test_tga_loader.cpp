// TGA loading: every kind, depth, origin and encoding round-trips exactly
// (15- and 16-bit colour to its 5-bit precision), and damaged, cut-short,
// oversized or foreign data gives the null object.
#include "assets/tga_loader.h"

#include "stock_test_images.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using stocktest::Bytes;
using stocktest::Rgba;
using stocktest::TgaOptions;

Ref<TPixmap> load(const Bytes& file)
{
    auto stream = create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0);
    return make_ref<TTgaLoader>()->load(stream);
}

// Compares channels, each cut to `bits` bits of precision.
void expect_pixels(Rgba& picture, const Ref<TPixmap>& pixmap, int32_t format, int bits = 8)
{
    ASSERT_TRUE(pixmap);
    ASSERT_EQ(pixmap->width, picture.width);
    ASSERT_EQ(pixmap->height, picture.height);
    ASSERT_EQ(pixmap->format, format);
    const int channels = pixel_bytes(format);
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            for (int c = 0; c < channels; ++c) {
                const int want = picture.at(x, y)[c] >> (8 - bits);
                ASSERT_EQ(pixmap->pixel_ptr(x, y)[c] >> (8 - bits), want) << x << "," << y << " " << c;
            }
}

TEST(TgaLoader, TrueColourRoundTripsInEveryOrigin)
{
    Rgba picture = stocktest::pattern(11, 6);
    for (int32_t type : {2, 10})
        for (int corner = 0; corner < 4; ++corner) {
            SCOPED_TRACE(type * 10 + corner);
            TgaOptions o;
            o.image_type = type;
            o.top_down = corner & 1;
            o.right_to_left = corner & 2;
            o.id = {'h', 'i'};
            o.bits = 24;
            expect_pixels(picture, load(stocktest::encode_tga(picture, o)), FORMAT_RGB24);
            o.bits = 32;
            expect_pixels(picture, load(stocktest::encode_tga(picture, o)), FORMAT_RGBA32);
            o.bits = 16;
            expect_pixels(picture, load(stocktest::encode_tga(picture, o)), FORMAT_RGB24, 5);
        }
}

TEST(TgaLoader, ColourMappedRoundTrips)
{
    for (int32_t type : {1, 9})
        for (int32_t map_bits : {24, 32, 16}) {
            SCOPED_TRACE(type * 100 + map_bits);
            TgaOptions o;
            o.image_type = type;
            o.bits = 8;
            o.map_bits = map_bits;
            o.map_first = 3; // indices count from the map's first entry
            Rgba picture = stocktest::palette_pattern(17, 9, 20, o.palette_rgb);
            expect_pixels(picture, load(stocktest::encode_tga(picture, o)),
                          map_bits == 32 ? FORMAT_RGBA32 : FORMAT_RGB24, map_bits == 16 ? 5 : 8);
            o.bits = 16;
            expect_pixels(picture, load(stocktest::encode_tga(picture, o)),
                          map_bits == 32 ? FORMAT_RGBA32 : FORMAT_RGB24, map_bits == 16 ? 5 : 8);
        }
}

TEST(TgaLoader, GreyRoundTrips)
{
    Rgba picture = stocktest::pattern(9, 4);
    for (int32_t type : {3, 11}) {
        TgaOptions o;
        o.image_type = type;
        o.bits = 8;
        expect_pixels(picture, load(stocktest::encode_tga(picture, o)), FORMAT_GRAY8);
    }
}

// The grey byte fills red, green and blue; the second byte is alpha.
TEST(TgaLoader, GreyPlusAlphaLoadsAsRgba)
{
    Rgba picture = stocktest::pattern(9, 4);
    for (uint8_t* p = picture.pixels.data(); p < picture.pixels.data() + picture.pixels.size(); p += 4)
        p[1] = p[2] = p[0];
    for (int32_t type : {3, 11}) {
        SCOPED_TRACE(type);
        TgaOptions o;
        o.image_type = type;
        o.bits = 16;
        expect_pixels(picture, load(stocktest::encode_tga(picture, o)), FORMAT_RGBA32);
        o.top_down = true;
        expect_pixels(picture, load(stocktest::encode_tga(picture, o)), FORMAT_RGBA32);
    }
    TgaOptions o;
    o.image_type = 3;
    o.bits = 24; // grey has no other depth
    Bytes file = stocktest::encode_tga(picture, o);
    EXPECT_FALSE(load(file));
}

TEST(TgaLoader, IndexOutsideTheMapIsOpaqueBlack)
{
    TgaOptions o;
    o.image_type = 1;
    o.bits = 8;
    o.map_bits = 32;
    Rgba picture = stocktest::palette_pattern(2, 1, 2, o.palette_rgb);
    Bytes file = stocktest::encode_tga(picture, o);
    file[file.size() - 1] = 7;
    auto pixmap = load(file);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->get_pixel(1, 0), 0xFF000000u);
}

TEST(TgaLoader, ForeignAndInvalidHeadersAreNotTaken)
{
    EXPECT_FALSE(load({}));
    EXPECT_FALSE(load({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
                       'R', 0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0}));
    EXPECT_FALSE(load({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));
    EXPECT_FALSE(load({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0}));
    Rgba picture = stocktest::pattern(3, 3);
    const Bytes file = stocktest::encode_tga(picture, {});
    ASSERT_TRUE(load(file));
    const std::pair<size_t, uint8_t> damage[] = {
        {1, 2},    // colour map type
        {2, 0},    // no image data
        {2, 4},    // image type 4 does not exist
        {2, 1},    // colour-mapped without a map
        {16, 23},  // pixel depth
        {17, 0xC0}, // interleaved rows
        {12, 0},   // width 0 (with the high byte below)
    };
    for (auto [at, value] : damage) {
        Bytes bad = file;
        bad[at] = value;
        if (at == 12)
            bad[13] = 0;
        EXPECT_FALSE(load(bad)) << at;
    }
}

TEST(TgaLoader, EveryTruncationGivesNull)
{
    TgaOptions rle;
    rle.image_type = 9;
    rle.bits = 8;
    Rgba mapped = stocktest::palette_pattern(13, 5, 7, rle.palette_rgb);
    TgaOptions rgb_rle;
    rgb_rle.image_type = 10;
    TgaOptions grey_alpha;
    grey_alpha.image_type = 11;
    grey_alpha.bits = 16;
    for (const Bytes& file : {stocktest::encode_tga(mapped, rle),
                              stocktest::encode_tga(stocktest::pattern(6, 4), grey_alpha),
                              stocktest::encode_tga(stocktest::pattern(7, 5), rgb_rle),
                              stocktest::encode_tga(stocktest::pattern(4, 3), {})}) {
        ASSERT_TRUE(load(file));
        for (size_t n = 0; n < file.size(); ++n)
            EXPECT_FALSE(load(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(n)))) << n;
    }
}

TEST(TgaLoader, OversizedHeadersAreRefusedBeforeAllocation)
{
    TgaOptions o;
    o.image_type = 10;
    Bytes file = stocktest::encode_tga(stocktest::pattern(2, 2), o);
    file[12] = 0xFF, file[13] = 0xFF; // 65535 wide
    EXPECT_FALSE(load(file));
    file[12] = 0x00, file[13] = 0x40; // 16384 x 16384 from a few bytes of packets
    file[14] = 0x00, file[15] = 0x40;
    EXPECT_FALSE(load(file));
    o.image_type = 2;
    Bytes plain = stocktest::encode_tga(stocktest::pattern(2, 2), o);
    plain[14] = 3; // one row more than the data holds
    EXPECT_FALSE(load(plain));
}

} // namespace
} // namespace vantrel
