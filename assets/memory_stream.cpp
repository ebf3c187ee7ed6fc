// TMemoryStream: reads and writes copy between the caller's buffer and the
// memory block, never past either end, whatever the counts and positions.
#include "assets/memory_stream.h"

#include <algorithm>
#include <cstring>

namespace vantrel {

TMemoryStream::TMemoryStream(const void* data, int32_t size, int readable, int writeable)
    : size_(data != nullptr && size > 0 ? size : 0),
      data_(static_cast<uint8_t*>(const_cast<void*>(data))),
      readable_(readable != 0),
      writeable_(writeable != 0)
{
}

int32_t TMemoryStream::seek(int32_t pos)
{
    pos_ = std::clamp(pos, 0, size_);
    return pos_;
}

int32_t TMemoryStream::span(int32_t count) const noexcept
{
    // size_ - pos_ cannot overflow, unlike pos_ + count.
    return std::min(count, size_ - pos_);
}

int32_t TMemoryStream::read(void* buffer, int32_t count)
{
    if (count <= 0 || !readable_)
        return 0;
    const int32_t n = span(count);
    if (n > 0)
        std::memcpy(buffer, data_ + pos_, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

int32_t TMemoryStream::write(const void* buffer, int32_t count)
{
    if (count <= 0 || !writeable_)
        return 0;
    const int32_t n = span(count);
    if (n > 0)
        std::memcpy(data_ + pos_, buffer, static_cast<size_t>(n));
    pos_ += n;
    return n;
}

Ref<TByteStream> create_memory_stream(const void* data, int32_t size, int readable, int writeable)
{
    return make_ref<TMemoryStream>(data, size, readable, writeable);
}

} // namespace vantrel
