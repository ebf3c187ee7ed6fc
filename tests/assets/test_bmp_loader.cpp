// BMP loading: each stored layout round-trips exactly, and damaged,
// cut-short, oversized or foreign data gives the null object.
#include "assets/bmp_loader.h"

#include "stock_test_images.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace vantrel {
namespace {

using stocktest::BmpOptions;
using stocktest::Bytes;
using stocktest::Rgba;

Ref<TPixmap> load(const Bytes& file)
{
    auto stream = create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0);
    return make_ref<TBmpLoader>()->load(stream);
}

void expect_pixels(Rgba& picture, const Ref<TPixmap>& pixmap, bool alpha)
{
    ASSERT_TRUE(pixmap);
    ASSERT_EQ(pixmap->width, picture.width);
    ASSERT_EQ(pixmap->height, picture.height);
    ASSERT_EQ(pixmap->format, alpha ? FORMAT_RGBA32 : FORMAT_RGB24);
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            ASSERT_EQ(std::memcmp(pixmap->pixel_ptr(x, y), picture.at(x, y), alpha ? 4 : 3), 0)
                << x << "," << y;
}

TEST(BmpLoader, PaletteLayoutsRoundTrip)
{
    for (int32_t bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        BmpOptions options;
        options.bits = bits;
        Rgba picture = stocktest::palette_pattern(21, 7, 1 << std::min(bits, 4), options.palette_rgb);
        expect_pixels(picture, load(stocktest::encode_bmp(picture, options)), false);
        options.core_header = true;
        expect_pixels(picture, load(stocktest::encode_bmp(picture, options)), false);
    }
}

TEST(BmpLoader, TrueColourLayoutsRoundTrip)
{
    Rgba picture = stocktest::pattern(13, 9); // 39-byte rows: padding at work
    expect_pixels(picture, load(stocktest::encode_bmp(picture, stocktest::bmp_options(24))), false);
    expect_pixels(picture, load(stocktest::encode_bmp(picture, stocktest::bmp_options(24, true))), false);
    // 32 bits without masks: the fourth byte is not alpha.
    expect_pixels(picture, load(stocktest::encode_bmp(picture, stocktest::bmp_options(32))), false);
    BmpOptions masked = stocktest::bmp_options(32);
    masked.alpha_mask = true;
    expect_pixels(picture, load(stocktest::encode_bmp(picture, masked)), true);
}

TEST(BmpLoader, RunLengthRoundTrips)
{
    BmpOptions options = stocktest::bmp_options(8);
    options.rle8 = true;
    Rgba picture = stocktest::palette_pattern(70, 12, 30, options.palette_rgb);
    expect_pixels(picture, load(stocktest::encode_bmp(picture, options)), false);
    BmpOptions four = stocktest::bmp_options(4);
    four.rle4 = true;
    for (int32_t width : {1, 2, 7, 70, 600}) { // odd counts, runs longer than a code holds
        SCOPED_TRACE(width);
        Rgba p = stocktest::palette_pattern(width, 5, 16, four.palette_rgb);
        expect_pixels(p, load(stocktest::encode_bmp(p, four)), false);
    }
}

// 4 x 2 RLE4, bottom-up: a run of 3 alternating nibbles, an end of row, then
// a literal of 3 indices (padded to two bytes).
TEST(BmpLoader, Rle4RunsAlternateTheirTwoIndices)
{
    BmpOptions options = stocktest::bmp_options(4);
    options.rle4 = true;
    Rgba picture = stocktest::palette_pattern(4, 2, 16, options.palette_rgb);
    Bytes file = stocktest::encode_bmp(picture, options);
    file.resize(file[10]);
    file.insert(file.end(), {3, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 1});
    auto pixmap = load(file);
    ASSERT_TRUE(pixmap);
    auto colour = [&](int i) {
        const uint8_t* c = &options.palette_rgb[static_cast<size_t>(i) * 3];
        return 0xFF000000u | uint32_t{c[0]} << 16 | uint32_t{c[1]} << 8 | c[2];
    };
    const int bottom[] = {1, 2, 1, 0}, top[] = {4, 5, 6, 0};
    for (int32_t x = 0; x < 4; ++x) {
        EXPECT_EQ(pixmap->get_pixel(x, 1), colour(bottom[x])) << x;
        EXPECT_EQ(pixmap->get_pixel(x, 0), colour(top[x])) << x;
    }
}

// 4 x 3, bottom-up: a run of two, a jump to the next row's last pixel, a run
// of one there, an end of row, and the end of the picture before the top row.
TEST(BmpLoader, Rle8JumpsAndEarlyEndLeavePaletteColourZero)
{
    BmpOptions options = stocktest::bmp_options(8);
    options.rle8 = true;
    Rgba picture = stocktest::palette_pattern(4, 3, 3, options.palette_rgb);
    Bytes file = stocktest::encode_bmp(picture, options);
    const size_t data = file[10];
    file.resize(data);
    file.insert(file.end(), {2, 1, 0, 2, 1, 1, 1, 2, 0, 0, 0, 1});
    auto pixmap = load(file);
    ASSERT_TRUE(pixmap);
    auto colour = [&](int i) {
        const uint8_t* c = &options.palette_rgb[static_cast<size_t>(i) * 3];
        return 0xFF000000u | uint32_t{c[0]} << 16 | uint32_t{c[1]} << 8 | c[2];
    };
    EXPECT_EQ(pixmap->get_pixel(1, 2), colour(1)); // bottom row, first run
    EXPECT_EQ(pixmap->get_pixel(2, 2), colour(0)); // jumped over
    EXPECT_EQ(pixmap->get_pixel(3, 2), colour(0));
    EXPECT_EQ(pixmap->get_pixel(2, 1), colour(0));
    EXPECT_EQ(pixmap->get_pixel(3, 1), colour(2)); // where the jump landed
    EXPECT_EQ(pixmap->get_pixel(0, 0), colour(0)); // never reached
}

// A channel of w bits keeps them as its top bits and repeats them below.
uint8_t widened(uint8_t c, int w)
{
    const uint32_t v = c >> (8 - w);
    uint32_t wide = 0;
    for (int filled = 0; filled < 8; filled += w)
        wide = wide << w | v;
    return static_cast<uint8_t>(wide >> ((8 + w - 1) / w * w - 8));
}

Rgba quantised(Rgba picture, std::array<int, 4> widths)
{
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = widened(picture.pixels[i], widths[i % 4]);
    return picture;
}

TEST(BmpLoader, SixteenBitChannelsWidenExactly)
{
    EXPECT_EQ(widened(31 << 3, 5), 255);
    EXPECT_EQ(widened(16 << 3, 5), 132);
    EXPECT_EQ(widened(1 << 3, 5), 8);
    EXPECT_EQ(widened(32 << 2, 6), 130);
    Rgba plain = quantised(stocktest::pattern(13, 9), {5, 5, 5, 8}); // 26-byte rows: padded
    expect_pixels(plain, load(stocktest::encode_bmp(plain, stocktest::bmp_options(16))), false);
    expect_pixels(plain, load(stocktest::encode_bmp(plain, stocktest::bmp_options(16, true))), false);
    BmpOptions six = stocktest::bmp_options(16);
    six.masks565 = true;
    Rgba p565 = quantised(stocktest::pattern(13, 9), {5, 6, 5, 8});
    expect_pixels(p565, load(stocktest::encode_bmp(p565, six)), false);
    BmpOptions four = stocktest::bmp_options(16);
    four.alpha_mask = true;
    Rgba p4444 = quantised(stocktest::pattern(13, 9), {4, 4, 4, 4});
    expect_pixels(p4444, load(stocktest::encode_bmp(p4444, four)), true);
}

TEST(BmpLoader, MasksThatNameNoChannelAreRefused)
{
    BmpOptions six = stocktest::bmp_options(16);
    six.masks565 = true;
    Rgba p = quantised(stocktest::pattern(4, 4), {5, 6, 5, 8});
    const Bytes file = stocktest::encode_bmp(p, six);
    ASSERT_TRUE(load(file));
    for (auto [at, mask] : {std::pair<size_t, uint32_t>{54, 0xF801}, {58, 0x0FE0}, {62, 0x10000},
                            {54, 0x00F0'0000}}) {
        Bytes bad = file;
        for (int i = 0; i < 4; ++i)
            bad[at + static_cast<size_t>(i)] = static_cast<uint8_t>(mask >> (8 * i));
        EXPECT_FALSE(load(bad)) << at << " " << mask;
    }
}

TEST(BmpLoader, SecondOs2HeadersAreTaken)
{
    for (int32_t size : {16, 64}) {
        SCOPED_TRACE(size);
        BmpOptions four = stocktest::bmp_options(4);
        four.os2_header = size;
        Rgba p = stocktest::palette_pattern(11, 6, 16, four.palette_rgb);
        expect_pixels(p, load(stocktest::encode_bmp(p, four)), false);
        BmpOptions rgb = stocktest::bmp_options(24);
        rgb.os2_header = size;
        Rgba colour = stocktest::pattern(7, 5);
        expect_pixels(colour, load(stocktest::encode_bmp(colour, rgb)), false);
    }
    BmpOptions rle = stocktest::bmp_options(8);
    rle.rle8 = true;
    rle.os2_header = 64;
    Rgba p = stocktest::palette_pattern(9, 4, 256, rle.palette_rgb);
    const Bytes file = stocktest::encode_bmp(p, rle);
    expect_pixels(p, load(file), false);
    // Huffman and 24-bit run-length codes are refused.
    for (uint8_t code : {3, 4}) {
        Bytes bad = file;
        bad[30] = code;
        EXPECT_FALSE(load(bad)) << int{code};
    }
}

TEST(BmpLoader, ForeignAndUnsupportedDataIsNotTaken)
{
    EXPECT_FALSE(load({}));
    EXPECT_FALSE(load({'B'}));
    EXPECT_FALSE(load({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}));
    Rgba picture = stocktest::pattern(4, 4);
    Bytes file = stocktest::encode_bmp(picture, stocktest::bmp_options(24));
    Bytes bad = file;
    bad[14] = 60; // an info header size that does not exist
    EXPECT_FALSE(load(bad));
    bad = file;
    bad[26] = 2; // two planes
    EXPECT_FALSE(load(bad));
    bad = file;
    bad[30] = 2; // RLE4 on 24-bit pixels
    EXPECT_FALSE(load(bad));
    bad = file;
    bad[10] = 20; // pixel data inside the header
    EXPECT_FALSE(load(bad));
    BmpOptions eight = stocktest::bmp_options(8);
    bad = stocktest::encode_bmp(stocktest::palette_pattern(4, 4, 4, eight.palette_rgb), eight);
    bad[13] = 0x80; // a negative pixel data offset before a palette
    EXPECT_FALSE(load(bad));
}

// The pixel data may not start inside the palette an info header announces:
// reading it as pixels would show palette bytes, and the missing entries black.
TEST(BmpLoader, PixelDataInsideThePaletteIsRefused)
{
    BmpOptions eight = stocktest::bmp_options(8);
    const Bytes file = stocktest::encode_bmp(stocktest::palette_pattern(4, 4, 4, eight.palette_rgb), eight);
    ASSERT_EQ(file[10], 14 + 40 + 4 * 4);
    ASSERT_TRUE(load(file));
    for (uint8_t offset : {14 + 40, 14 + 40 + 4, 14 + 40 + 3 * 4 + 3}) {
        Bytes bad = file;
        bad[10] = offset;
        EXPECT_FALSE(load(bad)) << int{offset};
    }
    Bytes all = file;
    all[46] = 0; // "all 256 entries", of which only 4 fit before the data
    EXPECT_FALSE(load(all));
    // The 12-byte header cannot give a count: a short palette is taken.
    BmpOptions core = eight;
    core.core_header = true;
    Rgba picture = stocktest::palette_pattern(4, 4, 4, core.palette_rgb);
    expect_pixels(picture, load(stocktest::encode_bmp(picture, core)), false);
}

TEST(BmpLoader, EveryTruncationGivesNull)
{
    BmpOptions rle = stocktest::bmp_options(8);
    rle.rle8 = true;
    BmpOptions four = stocktest::bmp_options(4);
    BmpOptions rle4 = four;
    rle4.rle4 = true;
    BmpOptions six = stocktest::bmp_options(16);
    six.masks565 = true;
    BmpOptions os2 = stocktest::bmp_options(8);
    os2.os2_header = 16;
    Rgba a = stocktest::palette_pattern(9, 5, 16, rle.palette_rgb);
    Rgba b = stocktest::palette_pattern(9, 5, 16, four.palette_rgb);
    Rgba c = stocktest::palette_pattern(9, 5, 16, rle4.palette_rgb);
    Rgba d = stocktest::palette_pattern(3, 2, 256, os2.palette_rgb);
    // Run-length data may lose its end-of-picture code once every row is in.
    const std::pair<Bytes, size_t> files[] = {
        {stocktest::encode_bmp(a, rle), 2},
        {stocktest::encode_bmp(c, rle4), 2},
        {stocktest::encode_bmp(stocktest::pattern(5, 3), six), 0},
        {stocktest::encode_bmp(d, os2), 0},
        {stocktest::encode_bmp(b, four), 0},
        {stocktest::encode_bmp(stocktest::pattern(5, 3), stocktest::bmp_options(24)), 0}};
    for (const auto& [file, optional_tail] : files) {
        ASSERT_TRUE(load(file));
        for (size_t n = 0; n + optional_tail < file.size(); ++n)
            EXPECT_FALSE(load(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(n)))) << n;
    }
}

void set32(Bytes& file, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        file[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(BmpLoader, OversizedHeadersAreRefusedBeforeAllocation)
{
    const Bytes file = stocktest::encode_bmp(stocktest::pattern(4, 4), stocktest::bmp_options(24));
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{BMP_MAX_SIDE + 1, 4}, {4, BMP_MAX_SIDE + 1},
                        {0, 4}, {4, 0}, {0x80000000u, 4}, {4, 0x80000000u}, {10000, 10000}}) {
        Bytes bad = file;
        set32(bad, 18, w);
        set32(bad, 22, h);
        EXPECT_FALSE(load(bad)) << w << "x" << h;
    }
    BmpOptions rle = stocktest::bmp_options(8);
    rle.rle8 = true;
    Rgba small = stocktest::palette_pattern(4, 4, 2, rle.palette_rgb);
    Bytes huge = stocktest::encode_bmp(small, rle);
    set32(huge, 18, 16000);
    set32(huge, 22, 16000); // 256 M pixels from a few dozen bytes
    EXPECT_FALSE(load(huge));
}

TEST(BmpLoader, OutOfRangeIndicesAreBlack)
{
    BmpOptions options = stocktest::bmp_options(8);
    Rgba picture = stocktest::palette_pattern(4, 1, 2, options.palette_rgb);
    Bytes file = stocktest::encode_bmp(picture, options);
    file[file.size() - 4] = 200; // beyond the two entries
    auto pixmap = load(file);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->get_pixel(0, 0), 0xFF000000u);
}

} // namespace
} // namespace vantrel
