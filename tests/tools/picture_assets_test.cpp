// The three committed pictures: PNG structure and the pixel rules the game's
// masking relies on.
#include "asset_data.h"

#include "common/png_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vantrel::assetgen {
namespace {

struct Picture {
    Bytes bytes;
    DecodedPng png;
};

Picture load(const std::string& name)
{
    Picture p{committed_asset(name), {}};
    auto decoded = decode_png(p.bytes);
    EXPECT_TRUE(decoded.has_value()) << name;
    if (decoded)
        p.png = std::move(*decoded);
    return p;
}

// 4-connected regions of pixels matching the predicate; each region as a
// list of pixel indices.
template <class Pred>
std::vector<std::vector<int>> regions(const RgbImage& image, Pred pred)
{
    const int w = image.width(), h = image.height();
    std::vector<uint8_t> seen(static_cast<size_t>(w * h), 0);
    std::vector<std::vector<int>> found;
    for (int start = 0; start < w * h; ++start) {
        if (seen[static_cast<size_t>(start)] || !pred(image.get(start % w, start / w)))
            continue;
        std::vector<int> region, stack{start};
        seen[static_cast<size_t>(start)] = 1;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            region.push_back(i);
            const int x = i % w, y = i / w;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h)
                    continue;
                const int j = n[1] * w + n[0];
                if (!seen[static_cast<size_t>(j)] && pred(image.get(n[0], n[1]))) {
                    seen[static_cast<size_t>(j)] = 1;
                    stack.push_back(j);
                }
            }
        }
        found.push_back(std::move(region));
    }
    return found;
}

void expect_plain_rgb_png(const Picture& p, uint32_t size)
{
    EXPECT_EQ(p.png.header.width, size);
    EXPECT_EQ(p.png.header.height, size);
    EXPECT_EQ(p.png.header.bit_depth, 8);
    EXPECT_EQ(p.png.header.colour_type, 2);
    EXPECT_EQ(p.png.header.interlace, 0);
    const auto chunks = list_png_chunks(p.bytes);
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    for (const PngChunk& c : chunks) {
        EXPECT_TRUE(c.crc_ok) << c.type;
        EXPECT_TRUE(c.type == "IHDR" || c.type == "IDAT" || c.type == "IEND") << "unexpected chunk " << c.type;
    }
}

TEST(PictureAssets, AreNonInterlacedEightBitRgbWithoutTransparencyChunks)
{
    expect_plain_rgb_png(load("wing2.png"), 256);
    expect_plain_rgb_png(load("spark.png"), 256);
    expect_plain_rgb_png(load("island.png"), 512);
}

TEST(PictureAssets, StayWithinTheSizeBudget)
{
    const size_t total =
        committed_asset("wing2.png").size() + committed_asset("spark.png").size() + committed_asset("island.png").size();
    EXPECT_LE(total, 300u * 1024u);
}

TEST(WingPicture, IsMagentaOnlyInNotchesOpeningOnTheBottomEdge)
{
    const Picture p = load("wing2.png");
    const RgbImage& image = p.png.image;
    const Rgb magenta{255, 0, 255};
    const auto notches = regions(image, [&](Rgb c) { return c == magenta; });
    EXPECT_GE(notches.size(), 5u);
    for (const auto& notch : notches) {
        int top = 256, bottom = 0;
        for (int i : notch) {
            top = std::min(top, i / 256);
            bottom = std::max(bottom, i / 256);
        }
        EXPECT_EQ(bottom, 255) << "a notch must open on the bottom edge";
        EXPECT_GE(top, 256 - 90) << "notches stay in the lower part";
    }
    int bottom_magenta = 0;
    for (int x = 0; x < 256; ++x)
        bottom_magenta += image.get(x, 255) == magenta;
    EXPECT_GT(bottom_magenta, 20);
    EXPECT_LT(bottom_magenta, 180) << "the feather's edge shows between the notches";
}

TEST(WingPicture, IsAWhiteAndGreyFeatherElsewhere)
{
    const RgbImage image = load("wing2.png").png.image;
    double light = 0.0;
    int count = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const Rgb c = image.get(x, y);
            if (c == Rgb{255, 0, 255})
                continue;
            const int hi = std::max({c.r, c.g, c.b}), lo = std::min({c.r, c.g, c.b});
            ASSERT_LE(hi - lo, 20) << "colourful pixel at " << x << "," << y;
            light += (c.r + c.g + c.b) / 3.0;
            ++count;
        }
    EXPECT_GT(light / count, 170.0);
    // The top rows (leading edge and quill) are lighter than the trailing edge.
    auto row_mean = [&](int y) {
        double sum = 0;
        for (int x = 0; x < 256; ++x)
            sum += image.get(x, y).g;
        return sum / 256;
    };
    EXPECT_GT(row_mean(60), row_mean(200) + 20);
}

TEST(SparkPicture, IsAGreyGlowFrom195AtTheCentreToNearBlackNeverBlack)
{
    const RgbImage image = load("spark.png").png.image;
    for (int y : {127, 128})
        for (int x : {127, 128})
            EXPECT_EQ(image.get(x, y), (Rgb{195, 195, 195}));
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const Rgb c = image.get(x, y);
            ASSERT_NE(c, (Rgb{0, 0, 0})) << x << "," << y;
            ASSERT_TRUE(c.r == c.g && c.g == c.b) << x << "," << y;
            ASSERT_LE(c.r, 195);
        }
    for (Rgb corner : {image.get(0, 0), image.get(255, 0), image.get(0, 255), image.get(255, 255), image.get(128, 0)})
        EXPECT_LE(corner.r, 6);
    // Smooth fall-off: never brighter further out, never a step of more than 4.
    for (int x = 129; x < 256; ++x) {
        EXPECT_LE(image.get(x, 128).r, image.get(x - 1, 128).r);
        EXPECT_LE(image.get(x - 1, 128).r - image.get(x, 128).r, 4);
    }
}

TEST(IslandPicture, HasAboutFiftyFivePercentWhiteAllOfItOutside)
{
    const RgbImage image = load("island.png").png.image;
    const Rgb white{255, 255, 255};
    size_t whites = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            whites += image.get(x, y) == white;
    const double share = static_cast<double>(whites) / (512.0 * 512.0);
    EXPECT_GE(share, 0.50);
    EXPECT_LE(share, 0.60);
    EXPECT_NEAR(share, 0.55, 0.02);
    // One white region, touching the border: nothing white inside the island.
    const auto white_regions = regions(image, [&](Rgb c) { return c == white; });
    ASSERT_EQ(white_regions.size(), 1u);
    for (int i = 0; i < 512; ++i) {
        EXPECT_EQ(image.get(i, 0), white);
        EXPECT_EQ(image.get(0, i), white);
        EXPECT_EQ(image.get(i, 511), white);
        EXPECT_EQ(image.get(511, i), white);
    }
}

TEST(IslandPicture, IsMostlyGreen)
{
    const RgbImage image = load("island.png").png.image;
    size_t land = 0, green = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            const Rgb c = image.get(x, y);
            if (c == Rgb{255, 255, 255})
                continue;
            ++land;
            green += c.g > c.r && c.g > c.b;
        }
    EXPECT_GT(static_cast<double>(green) / static_cast<double>(land), 0.6);
}

}  // namespace
}  // namespace vantrel::assetgen
