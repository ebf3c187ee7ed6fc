// TMemoryStream: positions, clamping, gates, and never touching memory
// outside the buffer whatever the counts.
#include "assets/memory_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace vantrel {
namespace {

TEST(MemoryStream, StartsAtZeroWithTheGivenSize)
{
    const uint8_t data[5] = {1, 2, 3, 4, 5};
    auto s = create_memory_stream(data, 5, 1, 0);
    EXPECT_EQ(s->pos(), 0);
    EXPECT_EQ(s->size(), 5);
    EXPECT_EQ(s->eof(), 0);
}

TEST(MemoryStream, ReadStopsAtTheEnd)
{
    const uint8_t data[5] = {1, 2, 3, 4, 5};
    auto s = create_memory_stream(data, 5, 1, 0);
    std::array<uint8_t, 8> out{};
    out.fill(0xEE);
    EXPECT_EQ(s->read(out.data(), 3), 3);
    EXPECT_EQ(s->read(out.data() + 3, 8), 2);
    EXPECT_EQ(s->read(out.data(), 8), 0);
    EXPECT_EQ(s->pos(), 5);
    EXPECT_EQ(s->eof(), 1);
    EXPECT_EQ(out, (std::array<uint8_t, 8>{1, 2, 3, 4, 5, 0xEE, 0xEE, 0xEE}));
}

TEST(MemoryStream, SeekClamps)
{
    const uint8_t data[5] = {};
    auto s = create_memory_stream(data, 5, 1, 0);
    EXPECT_EQ(s->seek(-5), 0);
    EXPECT_EQ(s->pos(), 0);
    EXPECT_EQ(s->seek(3), 3);
    EXPECT_EQ(s->seek(5 + 10), 5);
    EXPECT_EQ(s->eof(), 1);
    EXPECT_EQ(s->seek(INT_MIN), 0);
    EXPECT_EQ(s->seek(INT_MAX), 5);
}

TEST(MemoryStream, NegativeAndZeroCountsDoNothing)
{
    uint8_t data[4] = {1, 2, 3, 4};
    auto s = create_memory_stream(data, 4, 1, 1);
    uint8_t out[4] = {7, 7, 7, 7};
    EXPECT_EQ(s->read(out, 0), 0);
    EXPECT_EQ(s->read(out, -1), 0);
    EXPECT_EQ(s->read(out, INT_MIN), 0);
    EXPECT_EQ(s->write(out, -3), 0);
    EXPECT_EQ(s->pos(), 0);
    EXPECT_EQ(out[0], 7);
    EXPECT_EQ(data[0], 1);
}

TEST(MemoryStream, HugeCountNearTheEndDoesNotOverflow)
{
    uint8_t data[4] = {1, 2, 3, 4};
    auto s = create_memory_stream(data, 4, 1, 1);
    s->seek(3);
    uint8_t out[4] = {};
    EXPECT_EQ(s->read(out, INT_MAX), 1);
    EXPECT_EQ(out[0], 4);
    s->seek(2);
    const uint8_t in[2] = {8, 9};
    EXPECT_EQ(s->write(in, INT_MAX - 1), 2);
    EXPECT_EQ(data[3], 9);
}

TEST(MemoryStream, WritesInPlaceWhenWriteable)
{
    uint8_t data[4] = {};
    auto s = create_memory_stream(data, 4, 0, 1);
    const uint8_t in[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(s->write(in, 6), 4);
    EXPECT_EQ(s->write(in, 6), 0);
    EXPECT_EQ(data[3], 4);
    EXPECT_EQ(s->eof(), 1);
}

TEST(MemoryStream, GatesReadAndWrite)
{
    uint8_t data[4] = {1, 2, 3, 4};
    auto ro = create_memory_stream(data, 4, 1, 0);
    EXPECT_EQ(ro->write(data, 2), 0);
    EXPECT_EQ(ro->pos(), 0);
    auto wo = create_memory_stream(data, 4, 0, 1);
    uint8_t out[2] = {};
    EXPECT_EQ(wo->read(out, 2), 0);
    EXPECT_EQ(wo->pos(), 0);
}

TEST(MemoryStream, NegativeSizeOrNullDataIsEmpty)
{
    const uint8_t data[4] = {};
    auto negative = create_memory_stream(data, -8, 1, 0);
    EXPECT_EQ(negative->size(), 0);
    EXPECT_EQ(negative->eof(), 1);
    auto null = create_memory_stream(nullptr, 100, 1, 1);
    EXPECT_EQ(null->size(), 0);
    uint8_t out[1];
    EXPECT_EQ(null->read(out, 1), 0);
    EXPECT_EQ(null->write(out, 1), 0);
}

TEST(MemoryStream, EmptyBufferIsAtItsEndAtOnce)
{
    const uint8_t data[1] = {};
    auto s = create_memory_stream(data, 0, 1, 0);
    EXPECT_EQ(s->eof(), 1);
    EXPECT_EQ(s->read_int(), 0);
}

TEST(MemoryStream, FlushAndCloseReleaseNothing)
{
    const uint8_t data[2] = {5, 6};
    auto s = create_memory_stream(data, 2, 1, 0);
    EXPECT_EQ(s->flush(), 0);
    EXPECT_EQ(s->close(), 0);
    EXPECT_EQ(s->read_byte(), 5);
}

} // namespace
} // namespace vantrel
