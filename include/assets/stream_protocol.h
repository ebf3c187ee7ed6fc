// Protocol handlers: the factories open_stream asks, newest first, to turn a
// "protocol::path" location into a stream.
#pragma once

#include "assets/stream.h"
#include "core/newest_first.h"

namespace vantrel {

class TProtocolHandler : public TObject {
public:
    // Every handler puts itself at the head of the process-wide list, which
    // keeps a reference to it for the rest of the run.
    TProtocolHandler();

    // A new stream, or the null object when the protocol is not this
    // handler's or the stream cannot be made. The protocol arrives in lower
    // case; the path is unchanged.
    virtual Ref<TByteStream> create_stream(const Ref<TObject>& location, const Text& protocol,
                                           const Text& path, int readable, int writeable);

    // The next older handler, or the null object.
    const Ref<TProtocolHandler>& next() const noexcept { return next_; }

private:
    Ref<TProtocolHandler> next_;

public:
    // The list every handler joins, linked through next_.
    using List = NewestFirst<TProtocolHandler, &TProtocolHandler::next_>;
};

// The newest handler, or the null object when none is installed.
Ref<TProtocolHandler> first_protocol_handler();

} // namespace vantrel
