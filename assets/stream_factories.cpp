// The stock protocol handlers: "incbin" opens a registered asset in place,
// "littleendian" and "bigendian" open the rest of the location and give
// its little- or big-endian view.
#include "assets/assets_state.h"
#include "assets/registry.h"
#include "assets/stream_protocol.h"

namespace vantrel {

namespace {

class TIncbinProtocol final : public TProtocolHandler {
public:
    Ref<TByteStream> create_stream(const Ref<TObject>&, const Text& protocol, const Text& path,
                                   int readable, int writeable) override
    {
        // Blobs live in read-only memory: never offer to write them.
        if (protocol != Text(u"incbin") || writeable != 0 || path.empty())
            return {};
        const TEmbeddedAsset* asset = find_asset(path);
        if (asset == nullptr || asset->data == nullptr)
            return {};
        return create_memory_stream(asset->data, asset->size, readable, 0);
    }
};

class TEndianProtocol final : public TProtocolHandler {
public:
    explicit TEndianProtocol(bool big) : big_(big) {}

    Ref<TByteStream> create_stream(const Ref<TObject>&, const Text& protocol, const Text& path,
                                   int readable, int writeable) override
    {
        if (protocol != Text(big_ ? u"bigendian" : u"littleendian"))
            return {};
        // Views of views nest through open_stream; a bound keeps a
        // pathological location from exhausting the stack.
        thread_local int depth = 0;
        if (depth >= MAX_NESTING)
            return {};
        ++depth;
        struct Leave { ~Leave() { --depth; } } leave;
        Ref<TByteStream> inner = open_stream(path, readable, writeable);
        return big_ ? big_endian_view(inner) : little_endian_view(inner);
    }

private:
    static constexpr int MAX_NESTING = 16;
    bool big_;
};

} // namespace

void streams_init()
{
    bool& done = assets_state().streams_ready;
    if (done)
        return;
    done = true;
    make_ref<TEndianProtocol>(false);
    make_ref<TEndianProtocol>(true);
    make_ref<TIncbinProtocol>();
}

} // namespace vantrel
