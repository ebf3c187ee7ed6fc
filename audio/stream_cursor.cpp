#include "audio/stream_cursor.h"

#include <algorithm>
#include <utility>

namespace vantrel {

TStreamCursor::TStreamCursor(Ref<TByteStream> inner) : inner_(std::move(inner)), start_(inner_->pos()), at_(start_) {}

TStreamCursor::TStreamCursor(Ref<TByteStream> inner, int32_t start)
    : inner_(std::move(inner)), start_(start), at_(start)
{
}

Ref<TStreamCursor> TStreamCursor::fresh() const { return make_ref<TStreamCursor>(inner_, start_); }

int32_t TStreamCursor::size() { return inner_->size(); }

int32_t TStreamCursor::eof() { return at_ >= inner_->size() ? 1 : 0; }

int32_t TStreamCursor::seek(int32_t pos)
{
    at_ = std::clamp(pos, 0, std::max(inner_->size(), 0));
    return at_;
}

int32_t TStreamCursor::read(void* buffer, int32_t count)
{
    if (count <= 0 || at_ < 0 || inner_->seek(at_) != at_)
        return 0;
    const int32_t n = inner_->read(buffer, count);
    at_ += std::max(n, 0);
    return n;
}

} // namespace vantrel
