// open_stream and the protocol handlers: "incbin", the endian views, an
// open stream as location, and what opens nothing.
#include "assets/assets_state.h"
#include "assets/memory_stream.h"
#include "assets/registry.h"
#include "assets/stream_protocol.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

const uint8_t blob[] = {0x12, 0x34, 0x56, 0x78};
const uint8_t empty_blob[1] = {};

class OpenStream : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        streams_init();
        register_asset(u"open_blob.bin", blob, 4);
        register_asset(u"open_empty.bin", empty_blob, 0);
    }
};

int handler_count()
{
    int n = 0;
    for (Ref<TProtocolHandler> h = first_protocol_handler(); h; h = h->next())
        ++n;
    return n;
}

TEST_F(OpenStream, IncbinReadsTheBlobInPlace)
{
    auto s = read_stream(u"incbin::open_blob.bin");
    ASSERT_TRUE(s);
    auto memory = ref_cast<TMemoryStream>(s);
    ASSERT_TRUE(memory);
    EXPECT_EQ(memory->data(), blob);
    EXPECT_FALSE(memory->writeable());
    EXPECT_EQ(s->size(), 4);
    EXPECT_EQ(s->read_int(), 0x78563412);
}

TEST_F(OpenStream, ProtocolIgnoresCaseButNameDoesNot)
{
    auto upper = read_stream(u"INCBIN::open_blob.bin");
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->read_byte(), 0x12);
    EXPECT_TRUE(read_stream(u"InCbIn::open_blob.bin"));
    EXPECT_TRUE(read_stream(u"incbin::OPEN_BLOB.BIN").is_null());
    EXPECT_TRUE(read_stream(u"incbin:: open_blob.bin").is_null());
    EXPECT_TRUE(read_stream(u" incbin::open_blob.bin").is_null());
}

TEST_F(OpenStream, IncbinIsNeverWriteable)
{
    EXPECT_TRUE(write_stream(u"incbin::open_blob.bin").is_null());
    EXPECT_TRUE(open_stream(u"incbin::open_blob.bin", 1, 1).is_null());
}

TEST_F(OpenStream, WhatOpensNothing)
{
    EXPECT_TRUE(read_stream(u"incbin::").is_null());
    EXPECT_TRUE(read_stream(u"incbin::missing.bin").is_null());
    EXPECT_TRUE(read_stream(u"nosuch::open_blob.bin").is_null());
    EXPECT_TRUE(read_stream(u"::open_blob.bin").is_null());
    EXPECT_TRUE(read_stream(Text()).is_null());
    EXPECT_TRUE(read_stream(Ref<TObject>()).is_null());
    EXPECT_TRUE(read_stream(Ref<TObject>(make_ref<TObject>())).is_null());
}

TEST_F(OpenStream, EmptyAssetIsAtItsEndAtOnce)
{
    auto s = read_stream(u"incbin::open_empty.bin");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->size(), 0);
    EXPECT_EQ(s->eof(), 1);
    EXPECT_EQ(s->read_int(), 0);
}

TEST_F(OpenStream, WithoutReadableFlagReadingIsAnError)
{
    auto s = open_stream(u"incbin::open_blob.bin", 0, 0);
    ASSERT_TRUE(s);
    EXPECT_THROW(s->read_short(), TStreamReadError);
}

TEST_F(OpenStream, EndianProtocols)
{
    auto big = read_stream(u"BigEndian::incbin::open_blob.bin");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->read_int(), 0x12345678);
    auto little = read_stream(u"littleendian::incbin::open_blob.bin");
    ASSERT_TRUE(little);
    EXPECT_EQ(little->read_int(), 0x78563412);
    EXPECT_TRUE(read_stream(u"bigendian::incbin::missing.bin").is_null());
}

TEST_F(OpenStream, EndianNestingIsBounded)
{
    Text location(u"incbin::open_blob.bin");
    for (int i = 0; i < 4; ++i)
        location = Text(u"bigendian::") + location;
    EXPECT_TRUE(read_stream(location));
    for (int i = 0; i < 2000; ++i)
        location = Text(u"bigendian::") + location;
    EXPECT_TRUE(read_stream(location).is_null());
}

TEST_F(OpenStream, OpenStreamIsBorrowed)
{
    auto own = read_stream(u"incbin::open_blob.bin");
    auto borrowed = read_stream(Ref<TObject>(own));
    ASSERT_TRUE(borrowed);
    EXPECT_FALSE(same_object(borrowed, own));
    EXPECT_EQ(borrowed->read_short(), 0x3412);
    borrowed->close();
    EXPECT_EQ(own->pos(), 2);
    EXPECT_EQ(own->read_short(), 0x7856);
}

TEST_F(OpenStream, StringObjectLocation)
{
    auto s = read_stream(Ref<TObject>(Text(u"incbin::open_blob.bin").object()));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->read_byte(), 0x12);
}

TEST_F(OpenStream, InitIsIdempotent)
{
    const int before = handler_count();
    streams_init();
    streams_init();
    EXPECT_EQ(handler_count(), before);
}

// Records what it was asked and answers for the "probe" protocol only.
class TProbeHandler final : public TProtocolHandler {
public:
    Ref<TByteStream> create_stream(const Ref<TObject>& location, const Text& protocol, const Text& path,
                                   int readable, int writeable) override
    {
        last_location = location;
        last_protocol = protocol;
        last_path = path;
        const bool mine = protocol == Text(u"probe") ||
                          (protocol == Text(u"incbin") && path == Text(u"probe.bin"));
        if (!mine)
            return {};
        return create_memory_stream(blob + 3, 1, readable, writeable);
    }
    Ref<TObject> last_location;
    Text last_protocol, last_path;
};

TEST_F(OpenStream, NewestHandlerIsAskedFirst)
{
    const int before = handler_count();
    auto probe = make_ref<TProbeHandler>();
    EXPECT_EQ(handler_count(), before + 1);
    EXPECT_TRUE(same_object(first_protocol_handler(), probe));

    Ref<TObject> location(Text(u"PrObE::Some\\Path::x").object());
    auto s = read_stream(location);
    ASSERT_TRUE(s);
    EXPECT_EQ(probe->last_protocol, Text(u"probe"));
    EXPECT_EQ(probe->last_path, Text(u"Some\\Path::x"));
    EXPECT_TRUE(same_object(probe->last_location, location));

    // Asked before the stock incbin handler, which still answers the rest.
    EXPECT_EQ(read_stream(u"incbin::probe.bin")->read_byte(), 0x78);
    EXPECT_EQ(read_stream(u"incbin::open_blob.bin")->read_byte(), 0x12);
}

// Last in this file: it puts the assets record back as at program load.
TEST_F(OpenStream, ResetForgetsHandlersButKeepsTheEmbeddedAssets)
{
    auto probe = make_ref<TProbeHandler>();
    ASSERT_TRUE(same_object(first_protocol_handler(), probe));
    assets_state().reset();
    EXPECT_EQ(handler_count(), 0);
    EXPECT_FALSE(read_stream(u"incbin::open_blob.bin"));
    streams_init(); // start-up registers the stock handlers again
    EXPECT_EQ(handler_count(), 3);
    auto s = read_stream(u"incbin::open_blob.bin");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->read_byte(), 0x12);
}

} // namespace
} // namespace vantrel
