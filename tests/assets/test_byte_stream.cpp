// TByteStream's typed operations and the stream errors, over memory streams
// and over small stream doubles that misbehave on purpose.
#include "assets/memory_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <vector>

namespace vantrel {
namespace {

template <class F>
Text error_text(F&& f)
{
    try {
        f();
    } catch (const TRuntimeError& e) {
        return e.message();
    }
    return Text(u"<no error>");
}

// A stream that overrides nothing.
class TBareStream final : public TByteStream {};

// A stream that is never at its end and returns what it is told to.
class TScriptedStream final : public TByteStream {
public:
    explicit TScriptedStream(int32_t answer) : answer_(answer) {}
    int32_t read(void*, int32_t) override { return answer_; }
    int32_t write(const void*, int32_t) override { return answer_; }

private:
    int32_t answer_;
};

TEST(StreamIO, DefaultsOfABareStream)
{
    auto s = make_ref<TBareStream>();
    EXPECT_EQ(s->pos(), -1);
    EXPECT_EQ(s->size(), 0);
    EXPECT_EQ(s->eof(), 0);
    EXPECT_EQ(s->seek(4), -1);
    EXPECT_EQ(s->flush(), 0);
    EXPECT_EQ(s->close(), 0);
    uint8_t b[1];
    EXPECT_EQ(error_text([&] { s->read(b, 1); }), Text(u"Stream is not readable"));
    EXPECT_EQ(error_text([&] { s->write(b, 1); }), Text(u"Stream is not writeable"));
}

TEST(StreamErrors, TextsAndFamily)
{
    EXPECT_EQ(TStreamReadError().message(), Text(u"Error reading from stream"));
    EXPECT_EQ(TStreamWriteError().message(), Text(u"Error writing to stream"));
    EXPECT_THROW(throw TStreamReadError(), TStreamError);
    EXPECT_THROW(throw TStreamWriteError(), TStreamError);
    EXPECT_THROW(throw TStreamError(u"x"), TRuntimeError);
}

TEST(TypedRead, LittleEndianEncodings)
{
    const uint8_t data[] = {0xFE,                                     // byte
                            0x34, 0xF2,                               // short
                            0x78, 0x56, 0x34, 0x92,                   // int
                            1, 2, 3, 4, 5, 6, 7, 0x88,                // long
                            0x00, 0x00, 0xC0, 0x3F,                   // 1.5f
                            0, 0, 0, 0, 0, 0, 0x04, 0xC0};            // -2.5
    auto s = create_memory_stream(data, sizeof data, 1, 0);
    EXPECT_EQ(s->read_byte(), 0xFE);
    EXPECT_EQ(s->read_short(), 0xF234);
    EXPECT_EQ(s->read_int(), static_cast<int32_t>(0x92345678u));
    EXPECT_EQ(s->read_long(), static_cast<int64_t>(0x8807060504030201ull));
    EXPECT_EQ(s->read_float(), 1.5f);
    EXPECT_EQ(s->read_double(), -2.5);
    EXPECT_EQ(s->eof(), 1);
}

TEST(TypedWrite, SameEncodingsAndLowBits)
{
    std::array<uint8_t, 27> out{};
    auto s = create_memory_stream(out.data(), out.size(), 0, 1);
    EXPECT_EQ(s->write_byte(0x1FE), 0);
    EXPECT_EQ(s->write_short(0x5F234), 0);
    EXPECT_EQ(s->write_int(static_cast<int32_t>(0x92345678u)), 0);
    EXPECT_EQ(s->write_long(static_cast<int64_t>(0x8807060504030201ull)), 0);
    EXPECT_EQ(s->write_float(1.5f), 0);
    EXPECT_EQ(s->write_double(-2.5), 0);
    const std::array<uint8_t, 27> expected = {0xFE, 0x34, 0xF2, 0x78, 0x56, 0x34, 0x92, 1,    2,
                                              3,    4,    5,    6,    7,    0x88, 0,    0,    0xC0,
                                              0x3F, 0,    0,    0,    0,    0,    0,    0x04, 0xC0};
    EXPECT_EQ(out, expected);
}

TEST(TypedRead, PartialValueKeepsLowBytes)
{
    const uint8_t data[] = {9, 9, 0x34, 0x12};
    auto s = create_memory_stream(data, 4, 1, 0);
    s->seek(2);
    EXPECT_EQ(s->read_int(), 0x1234);
    EXPECT_EQ(s->eof(), 1);
    EXPECT_EQ(s->read_int(), 0);
    EXPECT_EQ(s->read_long(), 0);
    EXPECT_EQ(s->read_double(), 0.0);
}

TEST(ReadBytes, ZeroAndNegativeCountsReadNothing)
{
    const uint8_t data[] = {1, 2};
    auto s = create_memory_stream(data, 2, 1, 0);
    uint8_t out[2] = {7, 7};
    EXPECT_EQ(s->read_bytes(out, 0), 0);
    EXPECT_EQ(s->read_bytes(out, -4), 0);
    EXPECT_EQ(s->read_bytes(out, INT_MIN), 0);
    EXPECT_EQ(s->pos(), 0);
    EXPECT_EQ(out[0], 7);
}

TEST(ReadBytes, ReturnsTheRequestedCountPastTheEnd)
{
    const uint8_t data[] = {1, 2, 3};
    auto s = create_memory_stream(data, 3, 1, 0);
    std::array<uint8_t, 6> out;
    out.fill(0xAA);
    EXPECT_EQ(s->read_bytes(out.data(), 6), 6);
    EXPECT_EQ(out, (std::array<uint8_t, 6>{1, 2, 3, 0xAA, 0xAA, 0xAA}));
    EXPECT_EQ(s->read_bytes(out.data(), 6), 6); // at the end: no error
}

TEST(ReadBytes, NoProgressBeforeTheEndIsAnError)
{
    const uint8_t data[] = {1, 2, 3};
    auto s = create_memory_stream(data, 3, 0, 0);
    uint8_t out[3];
    EXPECT_EQ(error_text([&] { s->read_bytes(out, 3); }), Text(u"Error reading from stream"));
    EXPECT_THROW(s->read_int(), TStreamReadError);
    EXPECT_THROW(s->skip_bytes(1), TStreamReadError);
}

TEST(ReadBytes, ImpossibleCountsFromReadAreErrors)
{
    uint8_t out[4];
    EXPECT_THROW(make_ref<TScriptedStream>(-1)->read_bytes(out, 4), TStreamReadError);
    EXPECT_THROW(make_ref<TScriptedStream>(5)->read_bytes(out, 4), TStreamReadError);
    EXPECT_THROW(make_ref<TScriptedStream>(-1)->write_bytes(out, 4), TStreamWriteError);
    EXPECT_THROW(make_ref<TScriptedStream>(5)->write_bytes(out, 4), TStreamWriteError);
}

TEST(ReadBytes, LoopsOverShortReads)
{
    // A stream that hands out one byte per read.
    class TTrickle final : public TByteStream {
    public:
        int32_t pos() override { return pos_; }
        int32_t size() override { return 5; }
        int32_t read(void* b, int32_t) override
        {
            *static_cast<uint8_t*>(b) = static_cast<uint8_t>(10 + pos_++);
            return 1;
        }
        int32_t pos_ = 0;
    };
    auto s = make_ref<TTrickle>();
    EXPECT_EQ(s->read_int(), 0x0D0C0B0A);
    EXPECT_EQ(s->read_short(), 14);
}

TEST(WriteBytes, FullStreamIsAnError)
{
    uint8_t out[3] = {};
    auto s = create_memory_stream(out, 3, 0, 1);
    EXPECT_EQ(s->write_short(0x0201), 0);
    EXPECT_EQ(error_text([&] { s->write_short(0x0403); }), Text(u"Error writing to stream"));
    EXPECT_EQ(out[2], 3); // what fitted was written
    EXPECT_EQ(s->write_bytes(out, 0), 0);
    EXPECT_EQ(s->write_bytes(out, -2), 0);
}

TEST(WriteBytes, ReadOnlyStreamIsAnError)
{
    const uint8_t data[2] = {};
    auto s = create_memory_stream(data, 2, 1, 0);
    EXPECT_THROW(s->write_byte(1), TStreamWriteError);
}

TEST(SkipBytes, SkipsAcrossScratchChunksAndStopsAtTheEnd)
{
    std::vector<uint8_t> data(3000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    auto s = create_memory_stream(data.data(), 3000, 1, 0);
    EXPECT_EQ(s->skip_bytes(2500), 2500);
    EXPECT_EQ(s->pos(), 2500);
    EXPECT_EQ(s->read_byte(), static_cast<uint8_t>(2500 * 7));
    EXPECT_EQ(s->skip_bytes(10000), 10000);
    EXPECT_EQ(s->pos(), 3000);
    EXPECT_EQ(s->skip_bytes(-1), 0);
    EXPECT_EQ(s->skip_bytes(5), 5);
}

TEST(Objects, ReadAndWriteObjectRaise)
{
    const uint8_t data[2] = {};
    auto s = create_memory_stream(data, 2, 1, 1);
    EXPECT_EQ(error_text([&] { s->read_object(); }), Text(u"Unable to read object"));
    EXPECT_EQ(error_text([&] { s->write_object(Ref<TObject>()); }), Text(u"Unable to write object"));
}

} // namespace
} // namespace vantrel
