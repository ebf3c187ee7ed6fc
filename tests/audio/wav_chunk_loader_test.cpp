// The second WAV reader: files the WAV loader refuses and real recorders
// write (a chunk before the format, padded odd chunks, the extensible
// header, wide and floating-point samples) load through load_sample_buffer
// in the nearest engine format; broken and foreign ones give nothing.
#include "assets/stream.h"
#include "audio/sample_loader.h"
#include "audio/wav_chunk_loader.h"
#include "audio/wav_loader.h"
#include "wav_builder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace vantrel::test {
namespace {

constexpr uint8_t GUID_TAIL[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// "RIFF", "WAVE" and an extensible format chunk around `sub_tag`.
WavBuilder extensible(uint32_t channels, uint32_t hertz, uint32_t bits, uint32_t sub_tag,
                      uint32_t valid_bits = 0)
{
    WavBuilder w;
    const uint32_t block = channels * ((bits + 7) / 8);
    w.tag("RIFF").u32(0).tag("WAVE").tag("fmt ").u32(40).u16(0xFFFE).u16(channels).u32(hertz);
    w.u32(hertz * block).u16(block).u16(bits).u16(22).u16(valid_bits ? valid_bits : bits).u32(3);
    w.u16(sub_tag).raw(std::vector<uint8_t>(GUID_TAIL, GUID_TAIL + 14));
    return w;
}

std::vector<uint8_t> le_bytes(uint64_t v, int bytes)
{
    std::vector<uint8_t> out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return out;
}

std::vector<uint8_t> floats32(const std::vector<float>& values)
{
    std::vector<uint8_t> out;
    for (float v : values)
        for (uint8_t b : le_bytes(std::bit_cast<uint32_t>(v), 4))
            out.push_back(b);
    return out;
}

std::vector<int16_t> samples16(const Ref<TSampleBuffer>& b)
{
    std::vector<int16_t> out(static_cast<size_t>(b->frames * sample_channels(b->format)));
    std::memcpy(out.data(), b->data, out.size() * 2);
    return out;
}

class WavChunkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        streams_init();
        sample_loaders_init();
    }
    static Ref<TByteStream> stream(const std::vector<uint8_t>& bytes)
    {
        return create_memory_stream(bytes.data(), static_cast<int32_t>(bytes.size()), 1, 0);
    }
    static Ref<TSampleBuffer> load(const std::vector<uint8_t>& bytes)
    {
        return load_sample_buffer(Ref<TObject>(stream(bytes)));
    }
    // The same file is refused by the WAV loader and taken by the list.
    static Ref<TSampleBuffer> load_second(const std::vector<uint8_t>& bytes)
    {
        EXPECT_FALSE(TWavLoader().load(stream(bytes)));
        return load(bytes);
    }
};

TEST_F(WavChunkTest, BroadcastChunkBeforeTheFormatAndPaddedOddChunks)
{
    WavBuilder w;
    w.tag("RIFF").u32(0).tag("WAVE").chunk("bext", {1, 2, 3, 4, 5}).raw({0}); // odd, padded
    const auto fmt = WavBuilder().header(2, 48000, 16).bytes;
    w.raw(std::vector<uint8_t>(fmt.begin() + 12, fmt.end()));
    w.chunk("LIST", {9, 9, 9}).raw({0}).chunk("data", le16({100, -100, 7, -7}));
    auto b = load_second(w.bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->format, SAMPLE_STEREO16_LE);
    EXPECT_EQ(b->hertz, 48000);
    EXPECT_EQ(samples16(b), (std::vector<int16_t>{100, -100, 7, -7}));
}

TEST_F(WavChunkTest, ExtensibleHeaderAroundPcm)
{
    auto b = load_second(extensible(2, 44100, 16, 1).chunk("data", le16({1, 2, -3, -4})).bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->format, SAMPLE_STEREO16_LE);
    EXPECT_EQ(samples16(b), (std::vector<int16_t>{1, 2, -3, -4}));
    auto b8 = load_second(extensible(1, 8000, 8, 1).chunk("data", {0, 128, 255, 7}).bytes);
    ASSERT_TRUE(b8);
    EXPECT_EQ(b8->format, SAMPLE_MONO8);
    EXPECT_EQ(std::vector<uint8_t>(b8->data, b8->data + 4), (std::vector<uint8_t>{0, 128, 255, 7}));
}

TEST_F(WavChunkTest, WideIntegersKeepTheirHighSixteenBits)
{
    std::vector<uint8_t> data24;
    for (uint32_t v : {0x123456u, 0xFFFFFFu, 0x7FFFFFu, 0x800000u})
        for (uint8_t byte : le_bytes(v, 3))
            data24.push_back(byte);
    auto b24 = load_second(WavBuilder().header(1, 96000, 24).chunk("data", data24).bytes);
    ASSERT_TRUE(b24);
    EXPECT_EQ(b24->format, SAMPLE_MONO16_LE);
    EXPECT_EQ(samples16(b24), (std::vector<int16_t>{0x1234, -1, 32767, -32768}));
    std::vector<uint8_t> data32;
    for (uint32_t v : {0x7FFFFFFFu, 0x80000000u, 0x00010000u, 0xFFFF0000u})
        for (uint8_t byte : le_bytes(v, 4))
            data32.push_back(byte);
    auto b32 = load_second(extensible(2, 44100, 32, 1, 24).chunk("data", data32).bytes);
    ASSERT_TRUE(b32);
    EXPECT_EQ(b32->format, SAMPLE_STEREO16_LE);
    EXPECT_EQ(samples16(b32), (std::vector<int16_t>{32767, -32768, 1, -1}));
}

TEST_F(WavChunkTest, FloatsAreClampedAndRounded)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const auto data = floats32({0.5f, -1.0f, 2.0f, nan, -inf, 0.0f});
    const std::vector<int16_t> want{16384, -32767, 32767, 0, -32767, 0};
    auto b = load_second(WavBuilder().header(2, 44100, 32, 3).chunk("data", data).bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->format, SAMPLE_STEREO16_LE);
    EXPECT_EQ(samples16(b), want);
    std::vector<uint8_t> data64;
    for (double v : {0.25, -0.25})
        for (uint8_t byte : le_bytes(std::bit_cast<uint64_t>(v), 8))
            data64.push_back(byte);
    auto b64 = load_second(extensible(1, 44100, 64, 3).chunk("data", data64).bytes);
    ASSERT_TRUE(b64);
    EXPECT_EQ(samples16(b64), (std::vector<int16_t>{8192, -8192}));
}

TEST_F(WavChunkTest, WhatItDoesNotTakeGivesNothing)
{
    const std::vector<uint8_t> body(24, 0);
    EXPECT_FALSE(load(WavBuilder().header(3, 8000, 24).chunk("data", body).bytes)); // 3 channels
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 4, 2).chunk("data", body).bytes)); // ADPCM
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 16, 3).chunk("data", body).bytes)); // 16-bit float
    EXPECT_FALSE(load(WavBuilder().header(2, 0, 24).chunk("data", body).bytes));
    EXPECT_FALSE(load(WavBuilder().header(2, WAV_MAX_HERTZ + 1, 24).chunk("data", body).bytes));
    EXPECT_FALSE(load(extensible(2, 8000, 24, 1, 32).chunk("data", body).bytes)); // valid > stored
    auto guid = extensible(2, 8000, 24, 1);
    guid.bytes[guid.bytes.size() - 1] ^= 1;
    EXPECT_FALSE(load(guid.chunk("data", body).bytes));
    auto block = WavBuilder().header(2, 8000, 24);
    block.bytes[32] = 5; // block alignment
    EXPECT_FALSE(load(block.chunk("data", body).bytes));
    WavBuilder data_first;
    data_first.tag("RIFF").u32(0).tag("WAVE").chunk("data", body).chunk("fmt ", {});
    EXPECT_FALSE(load(data_first.bytes));
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 24).chunk("LIST", body).bytes)); // no data
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 24).tag("LIST").u32(0xFFFFFFFF).bytes));
    EXPECT_FALSE(load(WavBuilder().header(2, 8000, 24).chunk("data", {1, 2, 3, 4, 5}).bytes));
}

TEST_F(WavChunkTest, EveryTruncationGivesTheWholeFramesPresentOrNothing)
{
    WavBuilder w;
    w.tag("RIFF").u32(0).tag("WAVE").chunk("bext", {1, 2, 3}).raw({0});
    const auto fmt = extensible(1, 8000, 24, 1).bytes;
    w.raw(std::vector<uint8_t>(fmt.begin() + 12, fmt.end()));
    w.chunk("data", {0, 0, 1, 0, 0, 2, 0, 0, 3});
    const size_t samples_start = w.bytes.size() - 9;
    for (size_t n = 0; n <= w.bytes.size(); ++n) {
        auto b = load(std::vector<uint8_t>(w.bytes.begin(), w.bytes.begin() + static_cast<long>(n)));
        const int32_t whole = n > samples_start ? static_cast<int32_t>(n - samples_start) / 3 : 0;
        ASSERT_EQ(static_cast<bool>(b), whole > 0) << n;
        if (b) {
            EXPECT_EQ(b->frames, whole) << n;
            EXPECT_EQ(samples16(b)[0], 0x100);
        }
    }
}

// Found by fuzzing: 8-bit samples are copied as they are, and a data chunk
// that claims much and holds nothing leaves nothing to copy, nor anywhere to
// copy to.
TEST_F(WavChunkTest, EightBitDataThatClaimsMuchAndHoldsNothingGivesNothing)
{
    auto w = extensible(1, 8000, 8, 1);
    w.raw({'d', 'a', 't', 'a', 0x18, 0x00, 0x00, 0xB9});
    EXPECT_FALSE(load(w.bytes));
}

TEST_F(WavChunkTest, DataClaimingMoreThanTheStreamHoldsAllocatesOnlyWhatIsThere)
{
    auto w = WavBuilder().header(1, 8000, 24).tag("data").u32(0xFFFFFFF0).raw({0, 0, 1, 0, 0, 2});
    auto b = load(w.bytes);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->frames, 2);
    EXPECT_EQ(b->capacity, 4);
}

} // namespace
} // namespace vantrel::test
