// JPEG loading: files written with libjpeg's compressor decode back to their
// pixels within the codec's loss, and damaged, cut-short, oversized or
// foreign data gives the null object.
#include "assets/jpeg/jpeg_loader.h"

#include "assets/assets_state.h"
#include "assets/jpeg.h"
#include "assets/memory_stream.h"
#include "stock_test_images.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace vantrel {
namespace {

using stocktest::Bytes;
using stocktest::Rgba;

Ref<TPixmap> load(const Bytes& file)
{
    auto stream = create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0);
    return make_ref<TJpegLoader>()->load(stream);
}

// Mean and worst difference per channel between the picture and the pixmap.
void expect_close(Rgba& picture, const TPixmap& pixmap, bool grey)
{
    ASSERT_EQ(pixmap.width, picture.width);
    ASSERT_EQ(pixmap.height, picture.height);
    ASSERT_EQ(pixmap.format, grey ? FORMAT_GRAY8 : FORMAT_RGB24);
    int64_t total = 0, count = 0;
    int worst = 0;
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            for (int c = 0; c < (grey ? 1 : 3); ++c) {
                const int d = std::abs(pixmap.pixel_ptr(x, y)[c] - picture.at(x, y)[c]);
                total += d, ++count, worst = std::max(worst, d);
            }
    EXPECT_LT(static_cast<double>(total) / static_cast<double>(count), 2.5);
    EXPECT_LT(worst, 80); // halved chroma smears the hard edge a little
}

TEST(JpegLoader, ColourBaselineAndProgressiveDecodeToTheirPixels)
{
    Rgba picture = stocktest::pattern(67, 45); // not a multiple of the block size
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        auto pixmap = load(stocktest::encode_jpeg(picture, {false, progressive, 95}));
        ASSERT_TRUE(pixmap);
        expect_close(picture, *pixmap, false);
    }
}

TEST(JpegLoader, GreyLoadsAsGrey)
{
    Rgba picture = stocktest::pattern(40, 33);
    auto pixmap = load(stocktest::encode_jpeg(picture, {true, false, 95}));
    ASSERT_TRUE(pixmap);
    expect_close(picture, *pixmap, true);
}

TEST(JpegLoader, FourInkPicturesLoadAsRgb)
{
    using stocktest::JpegOptions;
    Rgba picture = stocktest::pattern(40, 33);
    for (auto inks : {JpegOptions::AdobeCmyk, JpegOptions::AdobeYcck, JpegOptions::PlainCmyk}) {
        SCOPED_TRACE(inks);
        JpegOptions options;
        options.inks = inks;
        auto pixmap = load(stocktest::encode_jpeg(picture, options));
        ASSERT_TRUE(pixmap);
        expect_close(picture, *pixmap, false);
    }
}

TEST(JpegLoader, ForeignDataIsNotTaken)
{
    for (const Bytes& file : {Bytes{}, Bytes{0xFF}, Bytes{0xFF, 0xD8}, Bytes{0xFF, 0xD8, 0x00, 0x01},
                              Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'},
                              Bytes{'B', 'M', 0, 0, 0, 0}})
        EXPECT_FALSE(load(file));
}

TEST(JpegLoader, EveryTruncationGivesNull)
{
    const Bytes file = stocktest::encode_jpeg(stocktest::pattern(24, 16), {});
    ASSERT_TRUE(load(file));
    for (size_t n = 0; n + 2 < file.size(); ++n) // the end marker alone may go
        EXPECT_FALSE(load(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(n)))) << n;
}

TEST(JpegLoader, CorruptScanDataGivesNull)
{
    Bytes file = stocktest::encode_jpeg(stocktest::pattern(64, 64), {});
    int refused = 0;
    for (size_t at = file.size() / 2; at + 2 < file.size(); at += 7) {
        Bytes damaged = file;
        damaged[at] = 0xFF; // a marker where data should be
        damaged[at + 1] = 0xC4;
        refused += !load(damaged);
    }
    EXPECT_GT(refused, 0);
    Bytes no_tables = file;
    for (size_t i = 2; i + 1 < no_tables.size(); ++i)
        if (no_tables[i] == 0xFF && no_tables[i + 1] == 0xC4)
            no_tables[i + 1] = 0xC9; // Huffman tables renamed: no table for the scan
    EXPECT_FALSE(load(no_tables));
}

// libjpeg skips bytes that are not a marker where one should start; the
// picture is the same as without them.
TEST(JpegLoader, StrayBytesBeforeAMarkerAreSkipped)
{
    const Bytes file = stocktest::encode_jpeg(stocktest::pattern(24, 16), {});
    auto clean = load(file);
    ASSERT_TRUE(clean);
    for (uint8_t marker : {0xDA, 0xD9}) { // before the scan, before the end
        SCOPED_TRACE(int{marker});
        Bytes junk = file;
        size_t at = junk.size() - 2;
        if (marker == 0xDA)
            for (at = 2; !(junk[at] == 0xFF && junk[at + 1] == 0xDA); ++at) {}
        junk.insert(junk.begin() + static_cast<ptrdiff_t>(at), {0x00, 0x12, 0x34});
        auto pixmap = load(junk);
        ASSERT_TRUE(pixmap);
        for (int32_t y = 0; y < clean->height; ++y)
            ASSERT_EQ(std::memcmp(pixmap->pixel_ptr(0, y), clean->pixel_ptr(0, y), 24 * 3), 0) << y;
    }
}

// The frame header's height and width, after its marker.
Bytes with_size(Bytes file, uint32_t width, uint32_t height)
{
    for (size_t i = 2; i + 9 < file.size(); ++i)
        if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2 || file[i + 1] == 0xC9)) {
            file[i + 5] = static_cast<uint8_t>(height >> 8), file[i + 6] = static_cast<uint8_t>(height);
            file[i + 7] = static_cast<uint8_t>(width >> 8), file[i + 8] = static_cast<uint8_t>(width);
            return file;
        }
    ADD_FAILURE() << "no frame header";
    return file;
}

TEST(JpegLoader, OversizedHeadersAreRefusedBeforeAllocation)
{
    const Bytes file = stocktest::encode_jpeg(stocktest::pattern(16, 16), {});
    EXPECT_FALSE(load(with_size(file, JPEG_MAX_SIDE + 1, 16)));
    EXPECT_FALSE(load(with_size(file, 16, 65535)));
    // Within the side limit, but far more pixels than 600 bytes can describe.
    EXPECT_FALSE(load(with_size(file, 12000, 12000)));
}

TEST(JpegLoader, LargeFlatPictureStillLoads)
{
    Rgba flat{1024, 1024, Bytes(1024 * 1024 * 4, 128)};
    const Bytes file = stocktest::encode_jpeg(flat, {false, true, 75});
    EXPECT_LT(static_cast<int64_t>(file.size()) * 10, 1024 * 1024); // highly compressed
    auto pixmap = load(file);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->get_pixel(1000, 1000), 0xFF808080u);
}

// A flat arithmetic-coded picture costs the same few hundred bytes at any
// size: up to JPEG_ARITHMETIC_PIXELS it loads, beyond it the bytes must pay.
TEST(JpegLoader, FlatArithmeticCodedPictureLoadsWithinItsBudget)
{
    stocktest::JpegOptions options;
    options.arithmetic = true;
    Rgba flat{1200, 1000, Bytes(1200 * 1000 * 4, 128)};
    const Bytes file = stocktest::encode_jpeg(flat, options);
    ASSERT_LT(static_cast<int64_t>(file.size()) * JPEG_PIXELS_PER_BYTE, 1200 * 1000 - 1024 * JPEG_PIXELS_PER_BYTE);
    auto pixmap = load(file);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->get_pixel(1100, 900), 0xFF808080u);
    EXPECT_FALSE(load(with_size(file, 16384, 16384)));
    EXPECT_FALSE(load(with_size(file, 4097, 4096)));
    // Huffman-coded data keeps the per-byte rule.
    EXPECT_FALSE(load(with_size(stocktest::encode_jpeg(stocktest::pattern(16, 16), {}), 4000, 4000)));
}

TEST(JpegLoader, ReadsFromTheStreamPositionAndLeavesTheStreamOpen)
{
    Bytes file{'x', 'y'};
    const Bytes jpeg = stocktest::encode_jpeg(stocktest::pattern(8, 8), {});
    file.insert(file.end(), jpeg.begin(), jpeg.end());
    auto stream = create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0);
    stream->seek(2);
    EXPECT_TRUE(make_ref<TJpegLoader>()->load(stream));
    EXPECT_EQ(stream->seek(0), 0);
    EXPECT_EQ(stream->read_byte(), 'x');
}

// A memory stream whose reads fail past a byte limit.
class TFailingStream final : public TMemoryStream {
public:
    TFailingStream(const Bytes& data, int32_t limit)
        : TMemoryStream(data.data(), static_cast<int32_t>(data.size()), 1, 0), limit_(limit)
    {
    }
    int32_t read(void* buffer, int32_t count) override
    {
        if (pos() + count > limit_)
            throw TStreamReadError();
        return TMemoryStream::read(buffer, count);
    }

private:
    int32_t limit_;
};

TEST(JpegLoader, StreamErrorInsideLibjpegIsRaisedAfterCleanUp)
{
    const Bytes file = stocktest::encode_jpeg(stocktest::pattern(300, 200), {});
    ASSERT_GT(file.size(), 5000u);
    auto stream = make_ref<TFailingStream>(file, 5000);
    EXPECT_THROW(make_ref<TJpegLoader>()->load(stream), TStreamReadError);
    pixmap_loaders_init();
    jpeg_loader_init();
    EXPECT_FALSE(decode_pixmap(Ref<TObject>(make_ref<TFailingStream>(file, 5000))));
}

// The loader is a library apart, joined to the registry by its own start-up.
TEST(JpegLoader, StartUpAddsTheLoaderOnceAndAgainAfterTheRegistryIsReset)
{
    auto jpeg_loaders = [] {
        int count = 0;
        assets_state().pixmap_loaders.first_answer([&](const Ref<TPixmapDecoder>& loader) {
            count += dynamic_cast<TJpegLoader*>(loader.get()) != nullptr;
            return false;
        });
        return count;
    };
    const Bytes file = stocktest::encode_jpeg(stocktest::pattern(40, 30), {});
    auto decode = [&] {
        return decode_pixmap(Ref<TObject>(create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0)));
    };
    assets_state().reset();
    streams_init();
    pixmap_loaders_init();
    EXPECT_EQ(jpeg_loaders(), 0);
    EXPECT_FALSE(decode()) << "the built-in loaders took a JPEG file";
    jpeg_loader_init();
    jpeg_loader_init();
    EXPECT_EQ(jpeg_loaders(), 1);
    EXPECT_TRUE(decode());
    assets_state().reset();
    jpeg_loader_init();
    EXPECT_EQ(jpeg_loaders(), 1);
    // As the other tests of this program found it.
    assets_state().reset();
    streams_init();
    pixmap_loaders_init();
    jpeg_loader_init();
}

} // namespace
} // namespace vantrel
