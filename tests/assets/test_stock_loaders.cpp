// The stock loaders behind decode_pixmap: each format reaches its loader
// through the registry, and PNG pictures still come out of the PNG loader
// exactly as before.
#include "assets/jpeg.h"
#include "assets/pixmap_loader.h"
#include "assets/png_loader.h"

#include "png_test_images.h"
#include "stock_test_images.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vantrel {
namespace {

using stocktest::Bytes;

Ref<TPixmap> decode(const Bytes& file)
{
    return decode_pixmap(
        create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0));
}

class StockLoaders : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        streams_init();
        pixmap_loaders_init();
#if VANTREL_HAVE_JPEG
        jpeg_loader_init();
#endif
    }
};

bool same_pixels(const TPixmap& a, const TPixmap& b)
{
    if (a.width != b.width || a.height != b.height || a.format != b.format)
        return false;
    for (int32_t y = 0; y < a.height; ++y)
        if (std::memcmp(a.pixel_ptr(0, y), b.pixel_ptr(0, y),
                        static_cast<size_t>(a.width) * static_cast<size_t>(pixel_bytes(a.format))))
            return false;
    return true;
}

TEST_F(StockLoaders, EachFormatDecodesThroughTheRegistry)
{
    stocktest::Rgba picture = stocktest::pattern(8, 5);
    stocktest::TgaOptions rle_tga;
    rle_tga.image_type = 10;
    stocktest::BmpOptions bmp8 = stocktest::bmp_options(8);
    stocktest::Rgba indexed = stocktest::palette_pattern(8, 5, 9, bmp8.palette_rgb);
    for (const Bytes& file : {stocktest::encode_bmp(picture, stocktest::bmp_options(24)), stocktest::encode_bmp(indexed, bmp8),
                              stocktest::encode_tga(picture, {}), stocktest::encode_tga(picture, rle_tga)}) {
        auto pixmap = decode(file);
        ASSERT_TRUE(pixmap);
        EXPECT_EQ(pixmap->width, 8);
        EXPECT_EQ(pixmap->height, 5);
    }
#if VANTREL_HAVE_JPEG
    auto jpeg = decode(stocktest::encode_jpeg(picture, {}));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->format, FORMAT_RGB24);
#endif
}

TEST_F(StockLoaders, PngPicturesStillComeFromThePngLoader)
{
    for (int colour_type : {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA,
                            PNG_COLOR_TYPE_GRAY_ALPHA, PNG_COLOR_TYPE_PALETTE}) {
        SCOPED_TRACE(colour_type);
        pngtest::TestPng png;
        png.width = 9, png.height = 6, png.colour_type = colour_type;
        if (colour_type == PNG_COLOR_TYPE_PALETTE) {
            for (int i = 0; i < 16; ++i)
                png.palette.push_back(png_color{static_cast<png_byte>(i * 16), 7, 200});
            png.palette_alpha = {0, 128};
        }
        png.samples = pngtest::pattern_samples(9, 6, pngtest::channels_of(colour_type),
                                               colour_type == PNG_COLOR_TYPE_PALETTE ? 4 : 8);
        png.bit_depth = colour_type == PNG_COLOR_TYPE_PALETTE ? 4 : 8;
        const Bytes file = pngtest::encode_png(png);
        auto through_registry = decode(file);
        auto direct = load_png_pixmap(
            create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0));
        ASSERT_TRUE(through_registry);
        ASSERT_TRUE(direct);
        EXPECT_TRUE(same_pixels(*through_registry, *direct));
    }
}

TEST_F(StockLoaders, DataNoLoaderTakesGivesNull)
{
    const Bytes wav{'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    EXPECT_FALSE(decode(wav));
    EXPECT_FALSE(decode(Bytes(64, 0)));
    EXPECT_FALSE(decode(Bytes(64, 0xFF)));
}

} // namespace
} // namespace vantrel
