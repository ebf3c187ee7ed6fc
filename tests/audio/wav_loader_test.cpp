// The WAV loader and the loader list: the layouts it takes, the ones it
// refuses, and hostile sizes.
#include "assets/stream.h"
#include "audio/sample_loader.h"
#include "audio/wav_loader.h"
#include "wav_builder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vantrel::test {
namespace {

class WavTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        streams_init();
        sample_loaders_init();
    }

    static Ref<TSampleBuffer> load(const std::vector<uint8_t>& bytes)
    {
        Ref<TByteStream> s = create_memory_stream(bytes.data(), static_cast<int32_t>(bytes.size()), 1, 0);
        return load_sample_buffer(Ref<TObject>(s));
    }
    // The WAV loader alone, without the readers tried after it.
    static Ref<TSampleBuffer> load_first(const std::vector<uint8_t>& bytes)
    {
        return TWavLoader().load(create_memory_stream(bytes.data(), static_cast<int32_t>(bytes.size()), 1, 0));
    }
};

TEST_F(WavTest, StereoSixteenBitLoadsWithItsFrames)
{
    const std::vector<int16_t> v = {1, -1, 300, -300, 32767, -32768};
    const auto wav = WavBuilder().header(2, 22050, 16).chunk("data", le16(v)).bytes;
    auto b = load(wav);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->format, SAMPLE_STEREO16_LE);
    EXPECT_EQ(b->hertz, 22050);
    EXPECT_EQ(b->frames, 3);
    EXPECT_EQ(b->capacity, 12);
    EXPECT_EQ(std::memcmp(b->data, le16(v).data(), 12), 0);
}

TEST_F(WavTest, EachPcmLayoutGetsItsFormat)
{
    const std::vector<uint8_t> body(8, 0x40);
    struct Case { uint32_t channels, bits; int32_t format, frames; };
    for (const Case c : {Case{1, 8, SAMPLE_MONO8, 8}, Case{2, 8, SAMPLE_STEREO8, 4},
                         Case{1, 16, SAMPLE_MONO16_LE, 4}, Case{2, 16, SAMPLE_STEREO16_LE, 2}}) {
        auto b = load(WavBuilder().header(c.channels, 8000, c.bits).chunk("data", body).bytes);
        ASSERT_TRUE(b) << c.channels << "x" << c.bits;
        EXPECT_EQ(b->format, c.format);
        EXPECT_EQ(b->frames, c.frames);
    }
}

TEST_F(WavTest, LongFormatChunkIsSkipped)
{
    auto b = load(WavBuilder().header(1, 8000, 16, 1, 18).chunk("data", le16({7, 8})).bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->frames, 2);
    EXPECT_EQ(reinterpret_cast<int16_t*>(b->data)[0], 7);
}

TEST_F(WavTest, ChunksBetweenFormatAndDataAreSkipped)
{
    auto b = load(WavBuilder()
                      .header(1, 8000, 16)
                      .chunk("LIST", {1, 2, 3})
                      .chunk("JUNK", {})
                      .chunk("data", le16({5}))
                      .bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(reinterpret_cast<int16_t*>(b->data)[0], 5);
}

TEST_F(WavTest, ChunkBeforeFormatIsRefused)
{
    WavBuilder w;
    w.tag("RIFF").u32(0).tag("WAVE").chunk("LIST", {0, 0, 0, 0});
    WavBuilder fmt = WavBuilder().header(1, 8000, 16);
    w.raw(std::vector<uint8_t>(fmt.bytes.begin() + 12, fmt.bytes.end())).chunk("data", le16({1}));
    EXPECT_FALSE(load_first(w.bytes));
}

TEST_F(WavTest, UnsupportedLayoutsAreRefused)
{
    const std::vector<uint8_t> body(12, 0);
    EXPECT_FALSE(load_first(WavBuilder().header(2, 8000, 24).chunk("data", body).bytes));
    EXPECT_FALSE(load_first(WavBuilder().header(3, 8000, 16).chunk("data", body).bytes));
    EXPECT_FALSE(load_first(WavBuilder().header(0, 8000, 16).chunk("data", body).bytes));
    EXPECT_FALSE(load_first(WavBuilder().header(2, 8000, 16, 3).chunk("data", body).bytes));
    EXPECT_FALSE(load_first(WavBuilder().tag("RIFX").u32(0).tag("WAVE").bytes));
    EXPECT_FALSE(load_first(WavBuilder().tag("RIFF").u32(0).tag("wave").bytes));
    EXPECT_FALSE(load_first(WavBuilder().header(2, 8000, 16).chunk("LIST", body).bytes)); // no data
}

TEST_F(WavTest, PartialFrameAtTheEndIsNotRead)
{
    const std::vector<uint8_t> body(1410, 0x11);
    const auto wav = WavBuilder().header(2, 22050, 16).chunk("data", body).bytes;
    Ref<TByteStream> s = create_memory_stream(wav.data(), static_cast<int32_t>(wav.size()), 1, 0);
    auto b = load_sample_buffer(Ref<TObject>(s));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->frames, 352);
    EXPECT_EQ(s->pos(), 44 + 1408); // a borrowed stream stays open where the loader left it
}

TEST_F(WavTest, DataClaimingMoreThanTheStreamHoldsAllocatesOnlyWhatIsThere)
{
    auto w = WavBuilder().header(2, 22050, 16).tag("data").u32(0x7FFFFFF0).raw(le16({1, 2, 3, 4}));
    auto b = load(w.bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->frames, 2);
    EXPECT_EQ(b->capacity, 8);
}

TEST_F(WavTest, NegativeOrHugeChunkSizesGiveNothing)
{
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 16).tag("LIST").u32(0xFFFFFFF8).bytes));
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 16).tag("data").u32(0x80000000).bytes));
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 16).tag("LIST").u32(0x7FFFFFFF).chunk("data", {0, 0, 0, 0}).bytes));
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 16, 1, 0x7FFFFFFF).chunk("data", {0, 0, 0, 0}).bytes));
}

TEST_F(WavTest, EveryTruncationOfAFileIsHandled)
{
    const auto wav = WavBuilder().header(1, 8000, 16).chunk("LIST", {9, 9}).chunk("data", le16({1, 2, 3, 4})).bytes;
    const size_t data_tag_end = wav.size() - 12;
    const size_t samples_start = wav.size() - 8;
    for (size_t n = 0; n < wav.size(); ++n) {
        const std::vector<uint8_t> cut(wav.begin(), wav.begin() + static_cast<long>(n));
        auto b = load(cut);
        // Once the "data" tag is there the file loads, with the frames present.
        EXPECT_EQ(static_cast<bool>(b), n >= data_tag_end) << n;
        if (b) {
            EXPECT_EQ(b->frames, n > samples_start ? static_cast<int32_t>(n - samples_start) / 2 : 0);
        }
    }
    EXPECT_TRUE(load(wav));
}

// A stream that cannot tell its size: the claimed frames are all there, the
// ones it does not deliver are silence.
class SizelessStream final : public TByteStream {
public:
    explicit SizelessStream(std::vector<uint8_t> b) : bytes_(std::move(b)) {}
    int32_t eof() override { return at_ >= bytes_.size() ? 1 : 0; }
    int32_t pos() override { return static_cast<int32_t>(at_); }
    int32_t size() override { return -1; }
    int32_t seek(int32_t p) override
    {
        at_ = std::min<size_t>(static_cast<size_t>(std::max(p, 0)), bytes_.size());
        return static_cast<int32_t>(at_);
    }
    int32_t read(void* buffer, int32_t count) override
    {
        const size_t n = std::min<size_t>(static_cast<size_t>(count), bytes_.size() - at_);
        std::memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        return static_cast<int32_t>(n);
    }

private:
    std::vector<uint8_t> bytes_;
    size_t at_ = 0;
};

TEST_F(WavTest, FramesTheStreamDoesNotDeliverAreSilence)
{
    auto w16 = WavBuilder().header(1, 8000, 16).tag("data").u32(40).raw(le16({-5, -6}));
    auto b = TWavLoader().load(make_ref<SizelessStream>(w16.bytes));
    ASSERT_TRUE(b);
    ASSERT_EQ(b->frames, 20);
    const auto* v = reinterpret_cast<const int16_t*>(b->data);
    EXPECT_EQ(v[0], -5);
    EXPECT_EQ(v[1], -6);
    for (int i = 2; i < 20; ++i)
        EXPECT_EQ(v[i], 0) << i;

    auto w8 = WavBuilder().header(2, 8000, 8).tag("data").u32(10).raw({1, 2});
    auto b8 = TWavLoader().load(make_ref<SizelessStream>(w8.bytes));
    ASSERT_TRUE(b8);
    ASSERT_EQ(b8->frames, 5);
    EXPECT_EQ(b8->data[1], 2);
    for (int i = 2; i < 10; ++i)
        EXPECT_EQ(b8->data[i], 128) << i;
}

class UnseekableStream final : public TByteStream {
public:
    int32_t pos() override { return -1; }
};

TEST_F(WavTest, UnseekableStreamIsAnError)
{
    try {
        load_sample_buffer(Ref<TObject>(make_ref<UnseekableStream>()));
        FAIL() << "no error";
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message(), Text(u"Stream is not seekable"));
    }
}

TEST_F(WavTest, LocationThatDoesNotOpenGivesNothing)
{
    EXPECT_FALSE(load_sample_buffer(Text(u"incbin::no-such-sound.wav")));
}

} // namespace
} // namespace vantrel::test
