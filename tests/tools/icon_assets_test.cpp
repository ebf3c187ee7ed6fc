// The committed application icons: RGBA PNGs of their nominal size whose
// tile is sky blue, transparent outside its rounded corners, with a white
// feather that survives down to 16 pixels.
#include "common/byte_io.h"
#include "common/png_file.h"
#include "generate_all.h"
#include "pictures/pictures.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace vantrel::assetgen {
namespace {

struct Pixel {
    int r, g, b, a;
};

Pixel at(const RgbaImage& image, int x, int y)
{
    const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 4;
    return {image.bytes[i], image.bytes[i + 1], image.bytes[i + 2], image.bytes[i + 3]};
}

TEST(IconAssets, EverySizeIsAnRgbaPngOfThatSize)
{
    for (int size : icon_sizes()) {
        const auto bytes = read_file(std::string(VANTREL_ICON_DATA) + "/" + icon_name(size));
        ASSERT_TRUE(bytes.has_value()) << icon_name(size);
        const auto header = decode_png(*bytes);
        ASSERT_TRUE(header.has_value()) << icon_name(size);
        EXPECT_EQ(header->header.width, static_cast<uint32_t>(size));
        EXPECT_EQ(header->header.height, static_cast<uint32_t>(size));
        EXPECT_EQ(header->header.colour_type, 6) << "RGBA";
        EXPECT_EQ(header->header.bit_depth, 8);
        for (const PngChunk& c : list_png_chunks(*bytes))
            EXPECT_TRUE(c.type == "IHDR" || c.type == "IDAT" || c.type == "IEND") << c.type;
    }
}

TEST(IconAssets, CornersAreClearAndTheTileIsSkyBlueWithAWhiteFeather)
{
    for (int size : icon_sizes()) {
        const auto image = decode_png_rgba(*read_file(std::string(VANTREL_ICON_DATA) + "/" + icon_name(size)));
        ASSERT_TRUE(image.has_value());
        const int last = size - 1;
        for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
            EXPECT_EQ(at(*image, x, y).a, 0) << size << " px corner " << x << "," << y;
        // Left of the centre, below the feather: the sky at full opacity.
        const Pixel sky = at(*image, size * 3 / 16, size * 9 / 16);
        EXPECT_EQ(sky.a, 255) << size;
        EXPECT_LT(sky.r, 40) << size;
        EXPECT_GT(sky.b, 240) << size;
        int white = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const Pixel p = at(*image, x, y);
                white += p.a == 255 && p.r > 215 && p.g > 215 && p.b > 215;
            }
        // The feather's vane covers several percent of the tile at any size.
        EXPECT_GT(white, size * size / 30) << size << " px: " << white << " near-white pixels";
    }
}

// The Windows program's icon file: one entry per size, each holding that
// size's committed PNG byte for byte, within the file.
TEST(IconAssets, WindowsIconHoldsEverySizesPng)
{
    const auto ico = read_file(std::string(VANTREL_ICON_DATA) + "/" + WINDOWS_ICON_NAME);
    ASSERT_TRUE(ico.has_value());
    ASSERT_GE(ico->size(), 6u);
    EXPECT_EQ(get_u16le(*ico, 0), 0u);
    EXPECT_EQ(get_u16le(*ico, 2), 1u);
    ASSERT_EQ(get_u16le(*ico, 4), icon_sizes().size());
    ASSERT_GE(ico->size(), 6 + 16 * icon_sizes().size());
    for (size_t i = 0; i < icon_sizes().size(); ++i) {
        const size_t entry = 6 + 16 * i;
        const int size = icon_sizes()[i];
        EXPECT_EQ((*ico)[entry], size >= 256 ? 0 : size);
        const uint32_t length = get_u32le(*ico, entry + 8);
        const uint32_t offset = get_u32le(*ico, entry + 12);
        ASSERT_LE(uint64_t{offset} + length, ico->size()) << size;
        const auto png = read_file(std::string(VANTREL_ICON_DATA) + "/" + icon_name(size));
        ASSERT_TRUE(png.has_value());
        EXPECT_TRUE(Bytes(ico->begin() + offset, ico->begin() + offset + length) == *png) << size;
    }
}

TEST(IconAssets, GeneratorRefusesSizesItCannotDraw)
{
    EXPECT_THROW(make_icon(8), std::invalid_argument);
    EXPECT_THROW(make_icon(4096), std::invalid_argument);
    EXPECT_THROW(generate_asset("vantrel-20.png"), std::invalid_argument);
    EXPECT_THROW(encode_png_rgba(RgbaImage{2, 2, std::vector<uint8_t>(15)}), std::invalid_argument);
}

TEST(IconAssets, RgbaRoundTripKeepsEveryByte)
{
    const RgbaImage icon = make_icon(16);
    const auto back = decode_png_rgba(encode_png_rgba(icon));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->width, 16);
    EXPECT_EQ(back->bytes, icon.bytes);
}

}  // namespace
}  // namespace vantrel::assetgen
