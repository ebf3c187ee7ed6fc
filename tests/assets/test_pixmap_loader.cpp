// The loader registry behind decode_pixmap: order, restarts, error handling.
#include "assets/pixmap_loader.h"

#include "assets/memory_stream.h"
#include "assets/registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace vantrel {
namespace {

// Accepts data starting with its four-byte tag; answers with a 1 x 1 pixmap
// holding its mark.
class TTagLoader final : public TPixmapDecoder {
public:
    TTagLoader(const char* tag, uint32_t mark) : tag_(tag), mark_(mark) {}
    Ref<TPixmap> load(const Ref<TByteStream>& stream) override
    {
        char head[4] = {};
        stream->read_bytes(head, 4);
        if (std::memcmp(head, tag_, 4) != 0)
            return {};
        auto p = new_pixmap(1, 1, FORMAT_RGBA32, 4);
        p->put_pixel(0, 0, mark_);
        return p;
    }

private:
    const char* tag_;
    uint32_t mark_;
};

// Raises a stream error for "FAIL" data and a plain runtime error for "BOOM".
class TFailingLoader final : public TPixmapDecoder {
public:
    Ref<TPixmap> load(const Ref<TByteStream>& stream) override
    {
        const Text head = stream->read_string(4);
        if (head == Text(u"FAIL"))
            throw TStreamReadError();
        if (head == Text(u"BOOM"))
            raise_error(u"broken loader");
        return {};
    }
};

// Remembers where each offered stream stood; recognises nothing.
class TSpyLoader final : public TPixmapDecoder {
public:
    Ref<TPixmap> load(const Ref<TByteStream>& stream) override
    {
        positions.push_back(stream->pos());
        stream->skip_bytes(3);
        return {};
    }
    std::vector<int32_t> positions;
};

// A stream that cannot tell its position.
class TPipeStream final : public TByteStream {
public:
    int32_t read(void*, int32_t) override { return 0; }
};

class TClosingCountStream final : public TMemoryStream {
public:
    TClosingCountStream(const void* data, int32_t size) : TMemoryStream(data, size, 1, 0) {}
    int32_t close() override { return ++closes; }
    int closes = 0;
};

// Oldest to newest: FAIL, AAAA, BOTH (old), the failing loader, BOTH (new),
// the spy.
TSpyLoader& install_loaders()
{
    static Ref<TSpyLoader> spy = [] {
        streams_init();
        register_pixmap_loader(make_ref<TTagLoader>("FAIL", 0xFF0000FA));
        register_pixmap_loader(make_ref<TTagLoader>("AAAA", 0xFF0000AA));
        register_pixmap_loader(make_ref<TTagLoader>("BOTH", 0xFF0000B1));
        register_pixmap_loader(make_ref<TFailingLoader>());
        register_pixmap_loader(make_ref<TTagLoader>("BOTH", 0xFF0000B2));
        auto s = make_ref<TSpyLoader>();
        register_pixmap_loader(s);
        register_pixmap_loader(s); // a second registration changes nothing
        return s;
    }();
    return *spy;
}

Ref<TPixmap> decode_bytes(const std::string& data)
{
    install_loaders();
    return decode_pixmap(create_memory_stream(data.data(), static_cast<int32_t>(data.size()), 1, 0));
}

TEST(DecodePixmap, FirstRecognisingLoaderWinsNewestFirst)
{
    auto both = decode_bytes("BOTH....");
    ASSERT_TRUE(both);
    EXPECT_EQ(both->get_pixel(0, 0), 0xFF0000B2u);
    auto old = decode_bytes("AAAA");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->get_pixel(0, 0), 0xFF0000AAu);
}

TEST(DecodePixmap, EveryLoaderStartsWhereTheStreamStood)
{
    TSpyLoader& spy = install_loaders();
    const std::string data = "xyzAAAA";
    auto stream = create_memory_stream(data.data(), 7, 1, 0);
    stream->seek(3);
    spy.positions.clear();
    auto p = decode_pixmap(stream);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->get_pixel(0, 0), 0xFF0000AAu);
    EXPECT_EQ(spy.positions, std::vector<int32_t>{3});
}

TEST(DecodePixmap, StreamErrorMeansNoResultAndTheNextLoaderIsTried)
{
    // The failing loader raises a stream error on "FAIL"; the oldest loader,
    // asked next from the start again, recognises it.
    auto p = decode_bytes("FAIL");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->get_pixel(0, 0), 0xFF0000FAu);
}

TEST(DecodePixmap, OtherErrorsReachTheCaller)
{
    EXPECT_THROW(decode_bytes("BOOM"), TRuntimeError);
    try {
        decode_bytes("BOOM");
    } catch (const TStreamError&) {
        ADD_FAILURE() << "a stream error was expected to be swallowed, not raised";
    } catch (const TRuntimeError& e) {
        EXPECT_EQ(e.message(), Text(u"broken loader"));
    }
}

TEST(DecodePixmap, UnrecognisedOrEmptyDataGivesNull)
{
    EXPECT_FALSE(decode_bytes("QQQQQQQQ"));
    EXPECT_FALSE(decode_bytes(""));
}

TEST(DecodePixmap, LocationThatDoesNotOpenGivesNull)
{
    install_loaders();
    EXPECT_FALSE(decode_pixmap(Text(u"incbin::no-such-picture")));
    EXPECT_FALSE(decode_pixmap(Text()));
    EXPECT_FALSE(decode_pixmap(Ref<TObject>()));
}

TEST(DecodePixmap, IncbinLocationIsDecoded)
{
    install_loaders();
    static const char blob[] = "AAAA";
    register_asset(u"tag.bin", blob, 4);
    auto p = decode_pixmap(Text(u"incbin::tag.bin"));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->get_pixel(0, 0), 0xFF0000AAu);
}

TEST(DecodePixmap, StreamThatCannotSeekGivesNullWithoutAskingLoaders)
{
    TSpyLoader& spy = install_loaders();
    spy.positions.clear();
    EXPECT_FALSE(decode_pixmap(make_ref<TPipeStream>()));
    EXPECT_TRUE(spy.positions.empty());
}

TEST(DecodePixmap, CallersStreamStaysOpen)
{
    install_loaders();
    const char data[] = "AAAAtail";
    auto stream = make_ref<TClosingCountStream>(data, 8);
    EXPECT_TRUE(decode_pixmap(stream));
    EXPECT_EQ(stream->closes, 0);
    EXPECT_EQ(stream->read_byte(), 't');
}

} // namespace
} // namespace vantrel
