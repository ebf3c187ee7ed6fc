// A stream over another with a position of its own: each read seeks the
// inner stream to where this one stands, so readers that share one open
// stream do not move each other (one thread at a time).
#pragma once

#include "assets/stream.h"

namespace vantrel {

class TStreamCursor final : public TByteStream {
public:
    // Starts where `inner` stands now.
    explicit TStreamCursor(Ref<TByteStream> inner);
    TStreamCursor(Ref<TByteStream> inner, int32_t start);

    // A new cursor over the same stream, at this one's start.
    Ref<TStreamCursor> fresh() const;

    int32_t eof() override;
    int32_t pos() override { return at_; }
    int32_t size() override;
    int32_t seek(int32_t pos) override;
    int32_t read(void* buffer, int32_t count) override;

private:
    Ref<TByteStream> inner_;
    int32_t start_;
    int32_t at_;
};

} // namespace vantrel
