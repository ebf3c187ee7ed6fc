// Forwarding wrappers: the borrowed stream and the big-endian view.
#include "assets/byte_swap_stream.h"
#include "assets/forward_stream.h"
#include "assets/memory_stream.h"

#include <gtest/gtest.h>

#include <array>

namespace vantrel {
namespace {

// A memory stream that counts how often it was closed.
class TCountingStream final : public TMemoryStream {
public:
    TCountingStream(const void* data, int32_t size) : TMemoryStream(data, size, 1, 1) {}
    int32_t close() override { return ++closes; }
    int closes = 0;
};

TEST(ForwardStream, BehavesLikeTheInnerStream)
{
    const uint8_t data[] = {1, 2, 3, 4, 5, 6, 7, 8, 'a', 13, 10};
    auto inner = create_memory_stream(data, sizeof data, 1, 0);
    auto wrapper = make_ref<TForwardStream>(inner);
    EXPECT_EQ(wrapper->size(), 11);
    EXPECT_EQ(wrapper->read_short(), 0x0201);
    EXPECT_EQ(inner->pos(), 2);
    EXPECT_EQ(wrapper->seek(4), 4);
    EXPECT_EQ(wrapper->read_int(), 0x08070605);
    EXPECT_EQ(wrapper->read_line(), Text(u"a"));
    EXPECT_EQ(wrapper->eof(), 1);
    EXPECT_EQ(wrapper->pos(), inner->pos());
}

TEST(ForwardStream, SetStreamSwapsReferences)
{
    const uint8_t a[] = {1}, b[] = {2};
    auto first = create_memory_stream(a, 1, 1, 0);
    auto second = create_memory_stream(b, 1, 1, 0);
    auto wrapper = make_ref<TForwardStream>(first);
    EXPECT_EQ(first->ref_count(), 2);
    wrapper->set_stream(second);
    EXPECT_EQ(first->ref_count(), 1);
    EXPECT_EQ(second->ref_count(), 2);
    EXPECT_EQ(wrapper->read_byte(), 2);
    wrapper.reset();
    EXPECT_EQ(second->ref_count(), 1);
}

TEST(ForwardStream, RefusesToWrapItself)
{
    auto wrapper = make_ref<TForwardStream>();
    EXPECT_THROW(wrapper->set_stream(wrapper), TRuntimeError);
    auto outer = make_ref<TBorrowedStream>(wrapper);
    EXPECT_THROW(wrapper->set_stream(outer), TRuntimeError);
    EXPECT_TRUE(wrapper->stream().is_null());
}

TEST(ForwardStream, WithoutInnerStreamOnlyCloseAndFlushAreQuiet)
{
    auto wrapper = make_ref<TForwardStream>();
    EXPECT_EQ(wrapper->close(), 0);
    EXPECT_EQ(wrapper->flush(), 0);
    EXPECT_THROW(wrapper->read_byte(), TRuntimeError);
    EXPECT_THROW(wrapper->pos(), TRuntimeError);
}

TEST(ForwardStream, CloseIsForwardedButDestructionIsNot)
{
    uint8_t data[2] = {};
    auto inner = make_ref<TCountingStream>(data, 2);
    auto wrapper = make_ref<TForwardStream>(inner);
    wrapper->close();
    EXPECT_EQ(inner->closes, 1);
    wrapper.reset();
    big_endian_view(inner);
    EXPECT_EQ(inner->closes, 1);
}

TEST(BorrowedStream, ClosingLeavesTheInnerStreamOpen)
{
    uint8_t data[4] = {1, 2, 3, 4};
    auto inner = make_ref<TCountingStream>(data, 4);
    auto borrowed = make_ref<TBorrowedStream>(inner);
    EXPECT_EQ(borrowed->read_byte(), 1);
    EXPECT_EQ(borrowed->close(), 0);
    EXPECT_EQ(inner->closes, 0);
    EXPECT_TRUE(borrowed->stream().is_null());
    EXPECT_EQ(inner->ref_count(), 1);
    EXPECT_EQ(inner->read_byte(), 2);
    EXPECT_EQ(borrowed->close(), 0); // twice is harmless
    borrowed.reset();
    EXPECT_EQ(inner->closes, 0);
}

TEST(ByteSwapStream, ReadsBigEndian)
{
    const uint8_t data[] = {0x12, 0x34,                                     // short
                            0x92, 0x34, 0x56, 0x78,                         // int
                            0x88, 7, 6, 5, 4, 3, 2, 1,                      // long
                            0x3F, 0xC0, 0, 0,                               // 1.5f
                            0xC0, 0x04, 0, 0, 0, 0, 0, 0,                   // -2.5
                            0xAB};
    auto view = big_endian_view(create_memory_stream(data, sizeof data, 1, 0));
    EXPECT_EQ(view->read_short(), 0x1234);
    EXPECT_EQ(view->read_int(), static_cast<int32_t>(0x92345678u));
    EXPECT_EQ(view->read_long(), static_cast<int64_t>(0x8807060504030201ull));
    EXPECT_EQ(view->read_float(), 1.5f);
    EXPECT_EQ(view->read_double(), -2.5);
    EXPECT_EQ(view->read_byte(), 0xAB);
    EXPECT_EQ(view->eof(), 1);
}

TEST(ByteSwapStream, WritesBigEndian)
{
    std::array<uint8_t, 27> out{};
    auto view = big_endian_view(create_memory_stream(out.data(), 27, 0, 1));
    view->write_byte(0x1FE);
    view->write_short(0x51234);
    view->write_int(static_cast<int32_t>(0x92345678u));
    view->write_long(static_cast<int64_t>(0x8807060504030201ull));
    view->write_float(1.5f);
    view->write_double(-2.5);
    const std::array<uint8_t, 27> expected = {0xFE, 0x12, 0x34, 0x92, 0x34, 0x56, 0x78, 0x88, 7,
                                              6,    5,    4,    3,    2,    1,    0x3F, 0xC0, 0,
                                              0,    0xC0, 0x04, 0,    0,    0,    0,    0,    0};
    EXPECT_EQ(out, expected);
}

TEST(ByteSwapStream, PartialValueKeepsHighBytes)
{
    const uint8_t data[] = {0x12, 0x34};
    auto view = big_endian_view(create_memory_stream(data, 2, 1, 0));
    EXPECT_EQ(view->read_int(), 0x12340000);
    EXPECT_EQ(view->read_int(), 0);
}

TEST(EndianViews, LittleIsTheSameObjectAndBigOfNullIsNull)
{
    const uint8_t data[] = {1};
    auto s = create_memory_stream(data, 1, 1, 0);
    EXPECT_TRUE(same_object(little_endian_view(s), s));
    EXPECT_TRUE(big_endian_view(Ref<TByteStream>()).is_null());
    EXPECT_TRUE(little_endian_view(Ref<TByteStream>()).is_null());
}

TEST(EndianViews, BigViewOfBigViewStaysBigEndian)
{
    const uint8_t data[] = {0x12, 0x34};
    auto view = big_endian_view(big_endian_view(create_memory_stream(data, 2, 1, 0)));
    EXPECT_EQ(view->read_short(), 0x1234);
}

} // namespace
} // namespace vantrel
