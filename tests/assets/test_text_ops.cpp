// Lines and strings: bytes as characters 0..255, CR LF handling, low bytes
// on writing, and the end of the stream.
#include "assets/memory_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace vantrel {
namespace {

Text units(std::u16string s) { return Text(std::move(s)); }

TEST(ReadLine, SplitsOnLineFeedAndDropsCarriageReturn)
{
    const uint8_t data[] = {97, 98, 13, 10, 99, 100};
    auto s = create_memory_stream(data, sizeof data, 1, 0);
    EXPECT_EQ(s->read_line(), Text(u"ab"));
    EXPECT_EQ(s->read_line(), Text(u"cd"));
    EXPECT_EQ(s->read_line(), Text());
    EXPECT_EQ(s->read_line(), Text());
}

TEST(ReadLine, StopsAtZeroAndKeepsHighBytes)
{
    const uint8_t data[] = {0xE9, 13, 0xFF, 0, 65, 10, 10};
    auto s = create_memory_stream(data, sizeof data, 1, 0);
    EXPECT_EQ(s->read_line(), units(u"\u00E9\u00FF"));
    EXPECT_EQ(s->read_line(), Text(u"A"));
    EXPECT_EQ(s->read_line(), Text());
    EXPECT_EQ(s->eof(), 1);
}

TEST(ReadLine, LongLineCrossesTheBufferSize)
{
    std::vector<uint8_t> data(2500, 'x');
    data.push_back(10);
    data.push_back('y');
    auto s = create_memory_stream(data.data(), static_cast<int32_t>(data.size()), 1, 0);
    EXPECT_EQ(s->read_line().length(), 2500u);
    EXPECT_EQ(s->read_line(), Text(u"y"));
}

TEST(ReadLine, UnreadableStreamGivesEmptyLineWithoutError)
{
    const uint8_t data[] = {97, 98};
    auto s = create_memory_stream(data, 2, 0, 0);
    EXPECT_EQ(s->read_line(), Text());
}

TEST(WriteLine, LowBytesThenCrLf)
{
    uint8_t out[6] = {};
    auto s = create_memory_stream(out, 6, 0, 1);
    EXPECT_EQ(s->write_line(units(u"\u0141b\u00FF")), 1);
    const uint8_t expected[] = {0x41, 'b', 0xFF, 13, 10, 0};
    EXPECT_EQ(std::memcmp(out, expected, 6), 0);
    EXPECT_EQ(s->pos(), 5);
}

TEST(WriteLine, ReportsAShortWriteWithoutError)
{
    uint8_t out[4] = {};
    auto s = create_memory_stream(out, 4, 0, 1);
    EXPECT_EQ(s->write_line(Text(u"abc")), 0); // only 13 of the line end fits
    EXPECT_EQ(out[3], 13);
    EXPECT_EQ(s->write_line(Text()), 0);
    auto roomy = create_memory_stream(out, 4, 0, 1);
    EXPECT_EQ(roomy->write_line(Text()), 1);
}

TEST(WriteString, LowBytesWithoutLineEnd)
{
    uint8_t out[4] = {9, 9, 9, 9};
    auto s = create_memory_stream(out, 4, 0, 1);
    EXPECT_EQ(s->write_string(units(u"\u1234\u00AB")), 0);
    EXPECT_EQ(out[0], 0x34);
    EXPECT_EQ(out[1], 0xAB);
    EXPECT_EQ(out[2], 9);
    EXPECT_THROW(s->write_string(Text(u"xyz")), TStreamWriteError);
}

TEST(ReadString, BytesBecomeCharacters)
{
    const uint8_t data[] = {72, 0, 0xFF, 105, 33};
    auto s = create_memory_stream(data, sizeof data, 1, 0);
    EXPECT_EQ(s->read_string(3), units(std::u16string{u'H', u'\0', u'\u00FF'}));
    EXPECT_EQ(s->read_string(0), Text());
    EXPECT_EQ(s->read_string(-3), Text());
    EXPECT_EQ(s->pos(), 3);
}

TEST(ReadString, StopsAtTheEndOfTheStream)
{
    const uint8_t data[] = {104, 105};
    auto s = create_memory_stream(data, sizeof data, 1, 0);
    EXPECT_EQ(s->read_string(0x7FFFFFFF), Text(u"hi"));
    EXPECT_EQ(s->read_string(4), Text());
}

TEST(ReadString, LongerThanOneChunk)
{
    std::vector<uint8_t> data(10000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i);
    auto s = create_memory_stream(data.data(), 10000, 1, 0);
    const Text t = s->read_string(9000);
    ASSERT_EQ(t.length(), 9000u);
    EXPECT_EQ(t[8999], static_cast<char16_t>(8999 & 0xFF));
    EXPECT_EQ(s->pos(), 9000);
}

TEST(ReadString, UnreadableStreamIsAnError)
{
    const uint8_t data[] = {1};
    auto s = create_memory_stream(data, 1, 0, 0);
    EXPECT_THROW(s->read_string(1), TStreamReadError);
}

} // namespace
} // namespace vantrel
