// Pixel formats: the constant tables and span conversion through the RGBA hub.
#include "assets/pixel_format.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace vantrel {
namespace {

using Rgba = std::array<uint8_t, 4>;

// One pixel of each format, all describing r=200 g=100 b=50 a=25 as far as
// the format can.
std::vector<uint8_t> sample_of(int32_t format)
{
    switch (format) {
    case FORMAT_GRAY8: return {116};
    case FORMAT_ALPHA8: return {25};
    case FORMAT_BGR24: return {50, 100, 200};
    case FORMAT_RGB24: return {200, 100, 50};
    case FORMAT_BGRA32: return {50, 100, 200, 25};
    case FORMAT_RGBA32: return {200, 100, 50, 25};
    default: return {};
    }
}

Rgba to_rgba(const std::vector<uint8_t>& pixel, int32_t format)
{
    Rgba out{};
    convert_pixel_span(pixel.data(), format, out.data(), FORMAT_RGBA32, 1);
    return out;
}

TEST(PixelFormatTables, MatchTheLayouts)
{
    const int32_t bytes[] = {0, 1, 1, 3, 3, 4, 4};
    const int32_t alpha[] = {0, 0, 8, 0, 0, 8, 8};
    const int32_t colour[] = {0, 0, 0, 8, 8, 8, 8};
    for (int32_t f = 0; f < FORMAT_COUNT; ++f) {
        EXPECT_EQ(PIXEL_BYTES[f], bytes[f]) << f;
        EXPECT_EQ(PIXEL_BITS[f], bytes[f] * 8) << f;
        EXPECT_EQ(ALPHA_BITS[f], alpha[f]) << f;
        EXPECT_EQ(RED_BITS[f], colour[f]) << f;
        EXPECT_EQ(GREEN_BITS[f], colour[f]) << f;
        EXPECT_EQ(BLUE_BITS[f], colour[f]) << f;
    }
    EXPECT_EQ(pixel_bytes(-1), 0);
    EXPECT_EQ(pixel_bytes(7), 0);
}

TEST(ConvertPixelSpan, IntoRgba)
{
    EXPECT_EQ(to_rgba(sample_of(FORMAT_GRAY8), FORMAT_GRAY8), (Rgba{116, 116, 116, 255}));
    EXPECT_EQ(to_rgba(sample_of(FORMAT_ALPHA8), FORMAT_ALPHA8), (Rgba{255, 255, 255, 25}));
    EXPECT_EQ(to_rgba(sample_of(FORMAT_BGR24), FORMAT_BGR24), (Rgba{200, 100, 50, 255}));
    EXPECT_EQ(to_rgba(sample_of(FORMAT_RGB24), FORMAT_RGB24), (Rgba{200, 100, 50, 255}));
    EXPECT_EQ(to_rgba(sample_of(FORMAT_BGRA32), FORMAT_BGRA32), (Rgba{200, 100, 50, 25}));
    EXPECT_EQ(to_rgba(sample_of(FORMAT_RGBA32), FORMAT_RGBA32), (Rgba{200, 100, 50, 25}));
}

TEST(ConvertPixelSpan, FromRgba)
{
    const Rgba src{200, 100, 50, 25};
    for (int32_t f = 1; f < FORMAT_COUNT; ++f) {
        std::vector<uint8_t> out(PIXEL_BYTES[f], 0xEE);
        convert_pixel_span(src.data(), FORMAT_RGBA32, out.data(), f, 1);
        EXPECT_EQ(out, sample_of(f)) << "format " << f; // grey (200+100+50)/3 = 116
    }
}

// Every pair of formats, on a run longer than the hub's chunk, gives what
// going through RGBA by hand gives.
TEST(ConvertPixelSpan, EveryPairGoesThroughRgba)
{
    constexpr int32_t count = 700;
    for (int32_t from = 1; from < FORMAT_COUNT; ++from) {
        std::vector<uint8_t> src(static_cast<size_t>(count) * PIXEL_BYTES[from]);
        for (size_t i = 0; i < src.size(); ++i)
            src[i] = static_cast<uint8_t>(i * 37 + from);
        std::vector<uint8_t> hub(count * 4);
        convert_pixel_span(src.data(), from, hub.data(), FORMAT_RGBA32, count);
        for (int32_t to = 1; to < FORMAT_COUNT; ++to) {
            std::vector<uint8_t> direct(static_cast<size_t>(count) * PIXEL_BYTES[to]);
            std::vector<uint8_t> via(direct.size());
            convert_pixel_span(src.data(), from, direct.data(), to, count);
            convert_pixel_span(hub.data(), FORMAT_RGBA32, via.data(), to, count);
            EXPECT_EQ(direct, via) << from << " -> " << to;
        }
    }
}

TEST(ConvertPixelSpan, Bgr24ToGray8AveragesTheChannels)
{
    const uint8_t bgr[] = {0, 0, 255, 30, 60, 90, 255, 255, 255};
    uint8_t grey[3] = {};
    convert_pixel_span(bgr, FORMAT_BGR24, grey, FORMAT_GRAY8, 3);
    EXPECT_EQ(grey[0], 85);
    EXPECT_EQ(grey[1], 60);
    EXPECT_EQ(grey[2], 255);
}

TEST(ConvertPixelSpan, SameFormatCopiesExactly)
{
    const uint8_t src[] = {1, 2, 3, 4, 5, 6};
    uint8_t dst[7] = {};
    convert_pixel_span(src, FORMAT_BGR24, dst, FORMAT_BGR24, 2);
    EXPECT_EQ(std::vector<uint8_t>(dst, dst + 7), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0}));
}

TEST(ConvertPixelSpan, FormatNoneReadsAsTransparentBlackAndStoresNothing)
{
    const uint8_t src[] = {9, 9, 9, 9};
    Rgba out{7, 7, 7, 7};
    convert_pixel_span(src, FORMAT_NONE, out.data(), FORMAT_RGBA32, 1);
    EXPECT_EQ(out, (Rgba{0, 0, 0, 0}));
    uint8_t untouched[4] = {5, 5, 5, 5};
    convert_pixel_span(src, FORMAT_RGBA32, untouched, FORMAT_NONE, 1);
    convert_pixel_span(src, FORMAT_RGB24, untouched, 42, 1);
    EXPECT_EQ(untouched[0], 5);
}

TEST(CopyPixelSpan, CopiesCountTimesPixelBytesAndAllowsOverlap)
{
    uint8_t buffer[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    copy_pixel_span(buffer, buffer + 3, FORMAT_RGB24, 2);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 9),
              (std::vector<uint8_t>{1, 2, 3, 1, 2, 3, 4, 5, 6}));
    copy_pixel_span(buffer, buffer + 3, FORMAT_RGB24, 0);
    copy_pixel_span(buffer, buffer + 3, FORMAT_RGB24, -4);
    EXPECT_EQ(buffer[3], 1);
}

} // namespace
} // namespace vantrel
