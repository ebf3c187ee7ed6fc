// open_stream: turns a location into a stream. An open stream is borrowed, a
// text with "::" goes to the protocol handlers, any other text is a file.
#include "assets/assets_state.h"
#include "assets/byte_swap_stream.h"
#include "assets/file_stream.h"
#include "assets/forward_stream.h"
#include "assets/stream_protocol.h"

#include <string>

namespace vantrel {

namespace {

TProtocolHandler::List& handlers() { return assets_state().protocol_handlers; }

Text lower_ascii(std::u16string_view units)
{
    std::u16string out(units);
    for (char16_t& c : out)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return Text(std::move(out));
}

Ref<TByteStream> ask_handlers(const Ref<TObject>& location, const Text& protocol, const Text& path,
                              int readable, int writeable)
{
    return handlers().first_answer([&](const Ref<TProtocolHandler>& h) {
        return h->create_stream(location, protocol, path, readable, writeable);
    });
}

} // namespace

TProtocolHandler::TProtocolHandler()
{
    // A new object is never listed yet, so this always joins.
    handlers().add(Ref<TProtocolHandler>(this));
}

Ref<TByteStream> TProtocolHandler::create_stream(const Ref<TObject>&, const Text&, const Text&, int, int)
{
    return {};
}

Ref<TProtocolHandler> first_protocol_handler() { return handlers().first(); }

Ref<TByteStream> open_stream(const Ref<TObject>& location, int readable, int writeable)
{
    if (Ref<TByteStream> stream = ref_cast<TByteStream>(location))
        return make_ref<TBorrowedStream>(stream);
    const Text text = text_of(location);
    if (text.empty())
        return ask_handlers(location, Text(), Text(), readable, writeable);
    const std::u16string_view units = text.view();
    const size_t at = units.find(u"::");
    if (at == std::u16string_view::npos)
        return TFileStream::open(text, readable, writeable);
    return ask_handlers(location, lower_ascii(units.substr(0, at)), Text(units.substr(at + 2)),
                        readable, writeable);
}

Ref<TByteStream> open_stream(const Text& location, int readable, int writeable)
{
    return open_stream(Ref<TObject>(location.object()), readable, writeable);
}

Ref<TByteStream> read_stream(const Text& location) { return open_stream(location, 1, 0); }

Ref<TByteStream> write_stream(const Text& location) { return open_stream(location, 0, 1); }

Ref<TByteStream> read_stream(const Ref<TObject>& location) { return open_stream(location, 1, 0); }

Ref<TByteStream> little_endian_view(const Ref<TByteStream>& stream) { return stream; }

Ref<TByteStream> big_endian_view(const Ref<TByteStream>& stream)
{
    if (!stream)
        return {};
    return make_ref<TByteSwapStream>(stream);
}

} // namespace vantrel
