// Blobs embedded by vantrel_embed_assets arrive under their file names with
// their exact sizes and bytes, readable through "incbin::" locations.
#include "assets/registry.h"
#include "assets/stream.h"
#include "blob_pattern.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel {

void register_test_blobs();

namespace {

struct Blob {
    const char16_t* name;
    int32_t size;
    uint32_t seed;
};

const Blob blobs[] = {
    {u"large.bin", 1572871, 1},
    {u"empty.bin", 0, 2},
    {u"one.bin", 1, 3},
    {u"odd size.dat", 4097, 4},
#if VANTREL_FILE_NAMES_ALLOW_QUOTES
    {u"quote \"and\" back'tick $x (v2).bin", 33, 5},
#else
    {u"quote 'and' back'tick $x (v2).bin", 33, 5},
#endif
};

class Embed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        streams_init();
        register_test_blobs();
    }
};

TEST_F(Embed, EveryBlobIsRegisteredWithItsExactSize)
{
    for (const Blob& b : blobs) {
        SCOPED_TRACE(Text(b.name).to_bytes());
        const TEmbeddedAsset* asset = find_asset(b.name);
        ASSERT_NE(asset, nullptr);
        EXPECT_EQ(asset->size, b.size);
        EXPECT_NE(asset->data, nullptr);
    }
}

TEST_F(Embed, BytesReadBackThroughIncbin)
{
    for (const Blob& b : blobs) {
        SCOPED_TRACE(Text(b.name).to_bytes());
        auto s = read_stream(Text(u"incbin::") + Text(b.name));
        ASSERT_TRUE(s);
        ASSERT_EQ(s->size(), b.size);
        std::vector<uint8_t> bytes(static_cast<size_t>(b.size) + 1, 0xEE);
        s->read_bytes(bytes.data(), b.size + 1);
        EXPECT_EQ(s->eof(), 1);
        int wrong = 0;
        for (int32_t i = 0; i < b.size; ++i)
            wrong += bytes[i] != embed_test::blob_byte(b.seed, static_cast<uint32_t>(i));
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(bytes[b.size], 0xEE);
    }
}

TEST_F(Embed, EmptyBlobOpensAtItsEnd)
{
    auto s = read_stream(u"incbin::empty.bin");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->eof(), 1);
    EXPECT_EQ(s->read_int(), 0);
}

TEST_F(Embed, BlobsAreAligned)
{
    for (const Blob& b : blobs)
        EXPECT_EQ(reinterpret_cast<uintptr_t>(asset_data(b.name)) % 16, 0u);
}

TEST_F(Embed, OnlyFileNamesAreRegistered)
{
    EXPECT_EQ(find_asset(u"blobs/large.bin"), nullptr);
    EXPECT_EQ(find_asset(u"Large.bin"), nullptr);
}

TEST_F(Embed, RegisteringAgainChangesNothing)
{
    const uint8_t* before = asset_data(u"large.bin");
    register_test_blobs();
    EXPECT_EQ(asset_data(u"large.bin"), before);
    EXPECT_EQ(asset_size(u"large.bin"), 1572871);
}

} // namespace
} // namespace vantrel
