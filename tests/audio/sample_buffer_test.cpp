// Sample buffers: the format tables, ownership, copies and conversions
// through the pivot format.
#include "audio/sample_buffer.h"
#include "core/error.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace vantrel::test {
namespace {

int16_t le_at(const Ref<TSampleBuffer>& b, int i)
{
    return static_cast<int16_t>(b->data[2 * i] | b->data[2 * i + 1] << 8);
}

Ref<TSampleBuffer> make(int32_t format, const std::vector<uint8_t>& bytes)
{
    const int32_t frames = static_cast<int32_t>(bytes.size()) / SAMPLE_FRAME_BYTES[format];
    auto b = create_sample_buffer(frames, 8000, format);
    std::memcpy(b->data, bytes.data(), bytes.size());
    return b;
}

TEST(SampleBuffer, TablesAndOwnedCapacity)
{
    EXPECT_EQ(sample_frame_bytes(SAMPLE_STEREO16_BE), 4);
    EXPECT_EQ(sample_channels(SAMPLE_MONO16_BE), 1);
    EXPECT_EQ(sample_frame_bytes(7), 0);
    EXPECT_EQ(sample_channels(-1), 0);
    auto b = create_sample_buffer(10, 22050, SAMPLE_STEREO8);
    EXPECT_EQ(b->capacity, 20);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b->data) % 16, 0u);
    EXPECT_THROW(create_sample_buffer(-1, 1, SAMPLE_MONO8), TRuntimeError);
    EXPECT_THROW(create_sample_buffer(0x40000000, 1, SAMPLE_STEREO16_LE), TRuntimeError);
}

TEST(SampleBuffer, WrappedMemoryIsNotOwned)
{
    uint8_t bytes[4] = {1, 2, 3, 4};
    auto b = wrap_samples(bytes, 2, 8000, SAMPLE_MONO16_LE);
    EXPECT_EQ(b->capacity, -1);
    EXPECT_EQ(b->data, bytes);
    auto c = b->copy();
    EXPECT_EQ(c->capacity, 4);
    EXPECT_NE(c->data, bytes);
    EXPECT_EQ(std::memcmp(c->data, bytes, 4), 0);
}

TEST(SampleBuffer, ConvertToOwnFormatIsAnIdenticalCopy)
{
    auto b = make(SAMPLE_STEREO8, {0, 1, 127, 128, 255, 9});
    auto c = b->convert(SAMPLE_STEREO8);
    EXPECT_EQ(c->frames, 3);
    EXPECT_EQ(c->hertz, 8000);
    EXPECT_EQ(std::memcmp(c->data, b->data, 6), 0);
}

TEST(SampleBuffer, EightBitWidensToFullScale)
{
    auto c = make(SAMPLE_MONO8, {255, 0, 128})->convert(SAMPLE_STEREO16_LE);
    EXPECT_EQ(le_at(c, 0), 32767);
    EXPECT_EQ(le_at(c, 1), 32767);
    EXPECT_EQ(le_at(c, 2), -32768);
    EXPECT_EQ(le_at(c, 4), 128);
}

TEST(SampleBuffer, StereoFoldsToMonoTruncatingTowardZero)
{
    auto src = make(SAMPLE_STEREO16_LE, {0xFD, 0xFF, 0, 0, 3, 0, 0, 0});
    auto c = src->convert(SAMPLE_MONO16_LE);
    EXPECT_EQ(le_at(c, 0), -1);
    EXPECT_EQ(le_at(c, 1), 1);
}

TEST(SampleBuffer, EveryByteSurvivesTheRoundTrip)
{
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    auto back = make(SAMPLE_MONO8, all)->convert(SAMPLE_STEREO16_BE)->convert(SAMPLE_MONO8);
    EXPECT_EQ(std::memcmp(back->data, all.data(), 256), 0);
    auto stereo = make(SAMPLE_STEREO8, all)->convert(SAMPLE_MONO16_BE)->convert(SAMPLE_STEREO8);
    for (int i = 0; i < 128; ++i) // the mean of a pair lands on the pair's mean byte
        ASSERT_EQ(stereo->data[2 * i], stereo->data[2 * i + 1]);
}

TEST(SampleBuffer, BigEndianLayoutsConvertBothWays)
{
    auto be = make(SAMPLE_MONO16_BE, {0x12, 0x34, 0x80, 0x00});
    auto le = be->convert(SAMPLE_MONO16_LE);
    EXPECT_EQ(le_at(le, 0), 0x1234);
    EXPECT_EQ(le_at(le, 1), -32768);
    auto sbe = make(SAMPLE_STEREO16_BE, {0x00, 0x01, 0xFF, 0xFF});
    auto sle = sbe->convert(SAMPLE_STEREO16_LE);
    EXPECT_EQ(le_at(sle, 0), 1);
    EXPECT_EQ(le_at(sle, 1), -1);
    auto again = sle->convert(SAMPLE_STEREO16_BE);
    EXPECT_EQ(std::memcmp(again->data, sbe->data, 4), 0);
}

TEST(SampleBuffer, UnknownFormatsCannotConvert)
{
    auto b = make(SAMPLE_MONO8, {1, 2});
    try {
        b->convert(7);
        FAIL();
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message(), Text(u"Unimplemented sample format conversion"));
    }
    EXPECT_THROW(b->convert(SAMPLE_NONE), TRuntimeError);
    auto none = create_sample_buffer(3, 1, SAMPLE_NONE);
    EXPECT_EQ(none->convert(SAMPLE_NONE)->frames, 3);
}

} // namespace
} // namespace vantrel::test
