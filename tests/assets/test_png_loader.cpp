// PNG loading: every kind of PNG image round-trips through libpng's writer
// and the loader into the expected pixmap format and pixels.
#include "assets/png_loader.h"

#include "png_test_images.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

using pngtest::Bytes;
using pngtest::TestPng;

Ref<TPixmap> load_bytes(const Bytes& file)
{
    return load_png_pixmap(
        create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0));
}

TestPng picture(uint32_t w, uint32_t h, int colour_type, int bit_depth)
{
    TestPng p;
    p.width = w;
    p.height = h;
    p.colour_type = colour_type;
    p.bit_depth = bit_depth;
    p.samples = pngtest::pattern_samples(w, h, pngtest::channels_of(colour_type), bit_depth);
    return p;
}

TestPng palette_picture(uint32_t w, uint32_t h, int bit_depth, size_t alpha_entries)
{
    TestPng p = picture(w, h, PNG_COLOR_TYPE_PALETTE, bit_depth);
    const size_t entries = size_t{1} << bit_depth;
    for (size_t i = 0; i < entries; ++i)
        p.palette.push_back({static_cast<png_byte>(i * 7), static_cast<png_byte>(255 - i),
                             static_cast<png_byte>(i * 13 + 1)});
    for (size_t i = 0; i < alpha_entries && i < entries; ++i)
        p.palette_alpha.push_back(static_cast<uint8_t>(i * 40));
    return p;
}

void expect_round_trip(const TestPng& p, const std::string& what)
{
    SCOPED_TRACE(what);
    auto pixmap = load_bytes(pngtest::encode_png(p));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->width, static_cast<int32_t>(p.width));
    EXPECT_EQ(pixmap->height, static_cast<int32_t>(p.height));
    EXPECT_EQ(pixmap->format, pngtest::expected_format(p));
    EXPECT_EQ(pixmap->pitch % 4, 0);
    EXPECT_GE(pixmap->pitch, pixmap->width * pixel_bytes(pixmap->format));
    for (uint32_t y = 0; y < p.height; ++y)
        for (uint32_t x = 0; x < p.width; ++x)
            ASSERT_EQ(pixmap->get_pixel(static_cast<int32_t>(x), static_cast<int32_t>(y)),
                      pngtest::expected_pixel(p, x, y))
                << "at " << x << "," << y;
}

TEST(PngRoundTrip, GreyOfEveryDepthLoadsAsGray8)
{
    for (int depth : {1, 2, 4, 8, 16})
        expect_round_trip(picture(13, 5, PNG_COLOR_TYPE_GRAY, depth),
                          "grey depth " + std::to_string(depth));
}

TEST(PngRoundTrip, GreyWithTrnsLoadsAsRgba)
{
    for (int depth : {2, 8, 16}) {
        TestPng p = picture(9, 7, PNG_COLOR_TYPE_GRAY, depth);
        png_color_16 key{};
        key.gray = p.samples[3]; // some pixels match
        p.trns_colour = key;
        expect_round_trip(p, "grey+tRNS depth " + std::to_string(depth));
    }
}

TEST(PngRoundTrip, GreyWithAlphaSpreadsGreyOverRgb)
{
    expect_round_trip(picture(11, 6, PNG_COLOR_TYPE_GRAY_ALPHA, 8), "grey+alpha 8");
    expect_round_trip(picture(11, 6, PNG_COLOR_TYPE_GRAY_ALPHA, 16), "grey+alpha 16");
}

TEST(PngRoundTrip, RgbLoadsAsRgb24WithHighBytesOf16Bit)
{
    expect_round_trip(picture(17, 9, PNG_COLOR_TYPE_RGB, 8), "rgb 8");
    expect_round_trip(picture(17, 9, PNG_COLOR_TYPE_RGB, 16), "rgb 16");
}

TEST(PngRoundTrip, RgbWithTrnsLoadsAsRgba)
{
    for (int depth : {8, 16}) {
        TestPng p = picture(8, 8, PNG_COLOR_TYPE_RGB, depth);
        png_color_16 key{};
        key.red = p.samples[0], key.green = p.samples[1], key.blue = p.samples[2];
        p.trns_colour = key;
        expect_round_trip(p, "rgb+tRNS depth " + std::to_string(depth));
    }
}

TEST(PngRoundTrip, RgbaLoadsAsRgba32)
{
    expect_round_trip(picture(5, 12, PNG_COLOR_TYPE_RGB_ALPHA, 8), "rgba 8");
    expect_round_trip(picture(5, 12, PNG_COLOR_TYPE_RGB_ALPHA, 16), "rgba 16");
}

TEST(PngRoundTrip, PaletteWithoutTrnsLoadsAsRgb24)
{
    for (int depth : {1, 2, 4, 8})
        expect_round_trip(palette_picture(19, 4, depth, 0),
                          "palette depth " + std::to_string(depth));
}

TEST(PngRoundTrip, PaletteWithTrnsCarriesTheTransparency)
{
    // Fewer alpha entries than colours: the rest are opaque.
    expect_round_trip(palette_picture(15, 6, 4, 5), "palette 4 + short tRNS");
    expect_round_trip(palette_picture(15, 6, 8, 256), "palette 8 + full tRNS");
}

TEST(PngRoundTrip, InterlacedImagesAreDeinterlaced)
{
    TestPng rgb = picture(37, 23, PNG_COLOR_TYPE_RGB, 8);
    rgb.interlaced = true;
    expect_round_trip(rgb, "interlaced rgb");
    TestPng grey = picture(9, 10, PNG_COLOR_TYPE_GRAY, 1);
    grey.interlaced = true;
    expect_round_trip(grey, "interlaced 1-bit grey");
    TestPng palette = palette_picture(21, 3, 8, 17);
    palette.interlaced = true;
    expect_round_trip(palette, "interlaced palette + tRNS");
    TestPng ga = picture(3, 14, PNG_COLOR_TYPE_GRAY_ALPHA, 16);
    ga.interlaced = true;
    expect_round_trip(ga, "interlaced grey+alpha 16");
}

TEST(PngRoundTrip, GammaChunkDoesNotChangePixels)
{
    TestPng p = picture(6, 6, PNG_COLOR_TYPE_RGB, 8);
    p.gamma = 1.0 / 2.2;
    expect_round_trip(p, "rgb with gAMA");
    TestPng g = picture(6, 6, PNG_COLOR_TYPE_GRAY, 16);
    g.gamma = 0.8;
    expect_round_trip(g, "16-bit grey with gAMA");
}

TEST(PngRoundTrip, SinglePixelAndSidesUpToTheLimit)
{
    expect_round_trip(picture(1, 1, PNG_COLOR_TYPE_RGB, 8), "1 x 1");
    expect_round_trip(picture(PNG_MAX_SIDE, 1, PNG_COLOR_TYPE_RGB, 8), "widest");
    expect_round_trip(picture(1, PNG_MAX_SIDE, PNG_COLOR_TYPE_GRAY, 8), "tallest");
}

TEST(PngLoader, ReadsFromTheStreamsCurrentPositionAndLeavesItOpen)
{
    Bytes file = {'j', 'u', 'n', 'k'};
    const Bytes png = pngtest::encode_png(picture(4, 4, PNG_COLOR_TYPE_RGB, 8));
    file.insert(file.end(), png.begin(), png.end());
    auto stream = create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0);
    stream->seek(4);
    auto pixmap = load_png_pixmap(stream);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->width, 4);
    EXPECT_EQ(stream->ref_count(), 1); // no wrapper or slot still holds it
    EXPECT_EQ(stream->seek(0), 0);     // still usable
    EXPECT_EQ(stream->read_byte(), 'j');
}

TEST(PngLoader, DecodePixmapFindsThePngLoader)
{
    pixmap_loaders_init();
    pixmap_loaders_init(); // idempotent
    streams_init();
    const Bytes file = pngtest::encode_png(picture(3, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8));
    auto pixmap = decode_pixmap(
        create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->format, FORMAT_RGBA32);
    EXPECT_EQ(pixmap->width, 3);
}

} // namespace
} // namespace vantrel
