// PNG loading of data that is not PNG, damaged, cut short, oversized, or read
// through a stream that fails: the null object or the stream's own error,
// never a crash or a leak.
#include "assets/png_loader.h"

#include "assets/memory_stream.h"
#include "assets/png_memory.h"
#include "png_test_images.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

using pngtest::Bytes;
using pngtest::TestPng;

Ref<TByteStream> stream_over(const Bytes& file)
{
    return create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0);
}

Ref<TPixmap> load_bytes(const Bytes& file) { return load_png_pixmap(stream_over(file)); }

Bytes valid_png(uint32_t w = 24, uint32_t h = 16)
{
    TestPng p;
    p.width = w;
    p.height = h;
    p.samples = pngtest::pattern_samples(w, h, 3, 8);
    return pngtest::encode_png(p);
}

Bytes with_chunk_after_header(Bytes file, const Bytes& chunk)
{
    file.insert(file.begin() + 33, chunk.begin(), chunk.end()); // 8 + 25 bytes of IHDR
    return file;
}

// A memory stream whose reads fail once a byte limit would be passed.
class TFailingStream final : public TMemoryStream {
public:
    TFailingStream(const Bytes& data, int32_t limit, bool stream_error)
        : TMemoryStream(data.data(), static_cast<int32_t>(data.size()), 1, 0), limit_(limit),
          stream_error_(stream_error)
    {
    }
    int32_t read(void* buffer, int32_t count) override
    {
        if (pos() + count > limit_) {
            if (stream_error_)
                throw TStreamReadError();
            raise_error(u"device unplugged");
        }
        return TMemoryStream::read(buffer, count);
    }

private:
    int32_t limit_;
    bool stream_error_;
};

// A stream that hides its position, as a pipe would.
class TUnseekableStream final : public TByteStream {
public:
    explicit TUnseekableStream(const Bytes& data) : data_(data) {}
    int32_t read(void* buffer, int32_t count) override
    {
        const auto n = static_cast<int32_t>(std::min<size_t>(count, data_.size() - at_));
        std::copy_n(data_.begin() + static_cast<ptrdiff_t>(at_), n, static_cast<uint8_t*>(buffer));
        at_ += static_cast<size_t>(n);
        return n;
    }

private:
    Bytes data_;
    size_t at_ = 0;
};

TEST(PngBadInput, DataThatIsNotPngGivesNull)
{
    const std::string wav = "RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0";
    const std::string bmp = "BM\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0";
    for (const std::string& s : {wav, bmp, std::string("\x89PNG\r\n\x1a"), std::string("ab"),
                                 std::string("\x89PNG\r\n\x1a\x0b")}) {
        EXPECT_FALSE(load_bytes(Bytes(s.begin(), s.end()))) << s.size() << " bytes";
    }
    EXPECT_FALSE(load_bytes(Bytes{}));
}

TEST(PngBadInput, EveryTruncationGivesNull)
{
    const Bytes file = valid_png(7, 5);
    ASSERT_TRUE(load_bytes(file));
    for (size_t n = 0; n < file.size(); ++n)
        EXPECT_FALSE(load_bytes(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(n))))
            << "cut at " << n;
}

TEST(PngBadInput, BadCrcInACriticalChunkGivesNull)
{
    Bytes file = valid_png();
    const size_t idat = pngtest::find_chunk(file, "IDAT");
    file[idat + 12] ^= 0x01;
    EXPECT_FALSE(load_bytes(file));

    Bytes header = valid_png();
    header[16 + 3] ^= 0x01; // the low byte of the width, CRC left as it was
    EXPECT_FALSE(load_bytes(header));
}

TEST(PngBadInput, DamagedZlibDataGivesNull)
{
    Bytes bad_method = valid_png();
    const size_t idat = pngtest::find_chunk(bad_method, "IDAT");
    bad_method[idat + 8] = 0x00; // not deflate
    pngtest::fix_crc(bad_method, idat);
    EXPECT_FALSE(load_bytes(bad_method));

    Bytes bad_block = valid_png();
    bad_block[idat + 10] = 0x07; // final block of the reserved type 3
    pngtest::fix_crc(bad_block, idat);
    EXPECT_FALSE(load_bytes(bad_block));
}

TEST(PngBadInput, MissingImageDataGivesNull)
{
    const Bytes file = valid_png();
    const size_t idat = pngtest::find_chunk(file, "IDAT");
    Bytes no_idat(file.begin(), file.begin() + static_cast<ptrdiff_t>(idat));
    const Bytes iend = pngtest::make_chunk("IEND", {});
    no_idat.insert(no_idat.end(), iend.begin(), iend.end());
    EXPECT_FALSE(load_bytes(no_idat));
}

TEST(PngBadInput, AbsurdOrInvalidHeadersAreRefusedBeforeAllocation)
{
    const Bytes iend = pngtest::make_chunk("IEND", {});
    auto header_only = [&](uint32_t w, uint32_t h, int depth, int type) {
        Bytes f = pngtest::signature_and_header(w, h, depth, type);
        const Bytes idat = pngtest::make_chunk("IDAT", {0x78, 0x9c, 0x03, 0x00});
        f.insert(f.end(), idat.begin(), idat.end());
        f.insert(f.end(), iend.begin(), iend.end());
        return f;
    };
    EXPECT_FALSE(load_bytes(header_only(100000, 100000, 8, PNG_COLOR_TYPE_RGB_ALPHA)));
    EXPECT_FALSE(load_bytes(header_only(PNG_MAX_SIDE + 1, 1, 8, PNG_COLOR_TYPE_RGB)));
    EXPECT_FALSE(load_bytes(header_only(1, PNG_MAX_SIDE + 1, 8, PNG_COLOR_TYPE_RGB)));
    EXPECT_FALSE(load_bytes(header_only(0, 4, 8, PNG_COLOR_TYPE_RGB)));
    EXPECT_FALSE(load_bytes(header_only(4, 4, 4, PNG_COLOR_TYPE_RGB))); // no 4-bit RGB
    EXPECT_FALSE(load_bytes(header_only(4, 4, 8, 5)));                  // no colour type 5
    EXPECT_FALSE(load_bytes(header_only(4, 4, 8, PNG_COLOR_TYPE_PALETTE))); // no PLTE
    // Within the side limit but far more pixels than the data could hold.
    EXPECT_FALSE(load_bytes(header_only(PNG_MAX_SIDE, PNG_MAX_SIDE, 16, PNG_COLOR_TYPE_RGB_ALPHA)));
}

TEST(PngBadInput, MemoryBudgetFollowsTheDataLeft)
{
    using namespace png_detail;
    EXPECT_EQ(png_budget(0), PNG_BASE_BUDGET);
    EXPECT_EQ(png_budget(1000), PNG_BASE_BUDGET + 1000 * PNG_BYTES_PER_INPUT_BYTE);
    EXPECT_EQ(png_budget(-1), std::numeric_limits<size_t>::max());
    // The largest legal expansion (1-bit palette to RGBA, deflate at its best
    // ratio of about 1032 to 1) stays inside the budget.
    EXPECT_GE(PNG_BYTES_PER_INPUT_BYTE, 32u * 1032u);
}

TEST(PngBadInput, BudgetRefusesAllocationsAndCountsFrees)
{
    using namespace png_detail;
    PngMemory memory;
    memory.budget = 1 << 20;
    auto quiet = [](png_structp, png_const_charp) {};
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, nullptr, quiet,
                                               &memory, budget_malloc, budget_free);
    ASSERT_NE(png, nullptr);
    const size_t base = memory.in_use;
    EXPECT_GT(base, 0u); // the read structure itself
    png_voidp block = png_malloc_warn(png, 1000);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(memory.in_use, base + 1000);
    EXPECT_EQ(png_malloc_warn(png, memory.budget - memory.in_use + 1), nullptr);
    png_free(png, block);
    EXPECT_EQ(memory.in_use, base);
    png_destroy_read_struct(&png, nullptr, nullptr);
    EXPECT_EQ(memory.in_use, 0u);
}

TEST(PngBadInput, HighlyCompressedLegalImageStillLoads)
{
    // 1-bit palette with tRNS: each stored bit becomes four bytes.
    TestPng p;
    p.width = 4096;
    p.height = 256;
    p.colour_type = PNG_COLOR_TYPE_PALETTE;
    p.bit_depth = 1;
    p.palette = {{1, 2, 3}, {4, 5, 6}};
    p.palette_alpha = {0, 255};
    p.samples.assign(size_t{p.width} * p.height, 0);
    const Bytes file = pngtest::encode_png(p);
    EXPECT_LT(file.size(), 4096u);
    auto pixmap = load_bytes(file);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->format, FORMAT_RGBA32);
    EXPECT_EQ(pixmap->get_pixel(4095, 255), make_argb(0, 1, 2, 3));
}

TEST(PngBadInput, OversizedAncillaryChunkIsRefused)
{
    // An 8 MiB text chunk cut short: refused by size, not read into memory.
    Bytes big = pngtest::make_chunk("tEXt", Bytes(16, 'a'));
    big[0] = 0x00, big[1] = 0x90, big[2] = 0x00, big[3] = 0x00;
    EXPECT_FALSE(load_bytes(with_chunk_after_header(valid_png(), big)));
}

TEST(PngBadInput, DamagedAncillaryChunkIsSkipped)
{
    Bytes text = pngtest::make_chunk("tEXt", {'k', 0, 'v'});
    text[text.size() - 1] ^= 0xFF; // CRC wrong
    auto pixmap = load_bytes(with_chunk_after_header(valid_png(), text));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->width, 24);
}

TEST(PngBadInput, StreamErrorInsideLibpngIsRaisedAfterCleanUp)
{
    const Bytes file = valid_png();
    auto stream = make_ref<TFailingStream>(file, 40, true);
    EXPECT_THROW(load_png_pixmap(stream), TStreamReadError);
    EXPECT_EQ(stream->ref_count(), 1);

    // decode_pixmap takes it as "not this loader's picture".
    pixmap_loaders_init();
    auto again = make_ref<TFailingStream>(file, 40, true);
    EXPECT_FALSE(decode_pixmap(again));
    EXPECT_EQ(again->ref_count(), 1);
}

TEST(PngBadInput, OtherStreamErrorsPassThroughDecodePixmap)
{
    pixmap_loaders_init();
    const Bytes file = valid_png();
    auto stream = make_ref<TFailingStream>(file, 60, false);
    try {
        decode_pixmap(stream);
        ADD_FAILURE() << "the stream's error was lost";
    } catch (const TStreamError&) {
        ADD_FAILURE() << "not a stream error";
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message(), Text(u"device unplugged"));
    }
    EXPECT_EQ(stream->ref_count(), 1);
    // The loader is usable again afterwards.
    EXPECT_TRUE(load_bytes(file));
}

TEST(PngBadInput, UnreadableStreamRaisesAReadError)
{
    const Bytes file = valid_png();
    auto stream = create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 0, 0);
    EXPECT_THROW(load_png_pixmap(stream), TStreamReadError);
    pixmap_loaders_init();
    EXPECT_FALSE(decode_pixmap(stream));
}

TEST(PngBadInput, UnseekableStreamLoadsAndReportsTruncation)
{
    const Bytes file = valid_png();
    auto pixmap = load_png_pixmap(make_ref<TUnseekableStream>(file));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->width, 24);
    const Bytes cut(file.begin(), file.end() - 20);
    EXPECT_THROW(load_png_pixmap(make_ref<TUnseekableStream>(cut)), TStreamReadError);
}

TEST(PngBadInput, TrailingBytesAfterTheEndAreIgnored)
{
    Bytes file = valid_png();
    file.insert(file.end(), {1, 2, 3, 4, 5});
    EXPECT_TRUE(load_bytes(file));
}

TEST(PngBadInput, NullLocationGivesNull)
{
    EXPECT_FALSE(load_png_pixmap(Ref<TObject>()));
    streams_init();
    EXPECT_FALSE(load_png_pixmap(Ref<TObject>(Text(u"incbin::missing.png").object())));
}

} // namespace
} // namespace vantrel
