// The game's three pictures, embedded as the game embeds them: they load as
// RGB24 of the expected sizes and pitches, with the file's samples unchanged,
// and take their mask colours.
#include "assets/bmp_loader.h"
#include "assets/pixmap_loader.h"
#include "assets/pixmap_ops.h"
#include "assets/registry.h"
#include "assets/tga_loader.h"
#if VANTREL_HAVE_JPEG
#include "assets/jpeg/jpeg_loader.h"
#endif

#include "png_test_images.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

void register_test_pictures();

namespace vantrel {
namespace {

struct GamePicture {
    const char16_t* name;
    int32_t side;
    uint32_t key; // RGB mask colour
};

constexpr GamePicture PICTURES[] = {
    {u"wing2.png", 256, 0xFF00FF},
    {u"spark.png", 256, 0x000000},
    {u"island.png", 512, 0xFFFFFF},
};

class GamePictures : public ::testing::TestWithParam<GamePicture> {
protected:
    static void SetUpTestSuite()
    {
        register_test_pictures();
        streams_init();
        pixmap_loaders_init();
    }
    Ref<TPixmap> load() const { return decode_pixmap(Text(u"incbin::") + Text(GetParam().name)); }
};

TEST_P(GamePictures, LoadAsRgb24WithTheirSizesAndPitches)
{
    auto pixmap = load();
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->format, FORMAT_RGB24);
    EXPECT_EQ(pixmap->width, GetParam().side);
    EXPECT_EQ(pixmap->height, GetParam().side);
    EXPECT_EQ(pixmap->pitch, GetParam().side * 3);
}

// The stock loaders are asked first; each must pass the picture on to PNG.
TEST_P(GamePictures, StockLoadersLeaveThemToThePngLoader)
{
    std::vector<Ref<TPixmapDecoder>> stock{make_ref<TBmpLoader>(), make_ref<TTgaLoader>()};
#if VANTREL_HAVE_JPEG
    stock.push_back(make_ref<TJpegLoader>());
#endif
    for (const auto& loader : stock) {
        auto stream = read_stream(Text(u"incbin::") + Text(GetParam().name));
        ASSERT_TRUE(stream);
        EXPECT_FALSE(loader->load(stream));
    }
}

TEST_P(GamePictures, PixelsAreTheFilesSamples)
{
    const TEmbeddedAsset* asset = find_asset(GetParam().name);
    ASSERT_NE(asset, nullptr);
    const pngtest::Bytes file(asset->data, asset->data + asset->size);
    uint32_t w = 0, h = 0;
    const pngtest::Bytes expected = pngtest::reference_rgb8_decode(file, &w, &h);
    ASSERT_FALSE(expected.empty());
    auto pixmap = load();
    ASSERT_TRUE(pixmap);
    for (int32_t y = 0; y < pixmap->height; ++y)
        ASSERT_EQ(0, std::memcmp(pixmap->pixel_ptr(0, y), &expected[y * size_t{w} * 3], w * 3))
            << "row " << y;
}

TEST_P(GamePictures, MaskColourBecomesTransparent)
{
    auto pixmap = load();
    ASSERT_TRUE(pixmap);
    const uint32_t key = GetParam().key;
    auto masked = apply_colour_key(pixmap, key >> 16 & 255, key >> 8 & 255, key & 255);
    for (int32_t y = 0; y < pixmap->height; ++y) {
        for (int32_t x = 0; x < pixmap->width; ++x) {
            const bool is_key = (pixmap->get_pixel(x, y) & 0xFFFFFF) == key;
            ASSERT_EQ(masked->get_pixel(x, y) >> 24, is_key ? 0u : 255u) << x << "," << y;
        }
    }
}

std::string picture_name(const ::testing::TestParamInfo<GamePicture>& param)
{
    const Text name(param.param.name);
    const std::string bytes = name.to_bytes();
    return bytes.substr(0, bytes.find('.'));
}

INSTANTIATE_TEST_SUITE_P(Assets, GamePictures, ::testing::ValuesIn(PICTURES), picture_name);

} // namespace
} // namespace vantrel
