// Stream reads for loaders of untrusted data.
#include "assets/loader_input.h"

#include "assets/stream_detail.h"

namespace vantrel {

int64_t stream_bytes_left(TByteStream& stream)
{
    const int32_t at = stream.pos();
    const int32_t size = stream.size();
    if (at < 0 || size < 0)
        return -1;
    return size > at ? int64_t{size} - at : 0;
}

int32_t read_up_to(TByteStream& stream, void* buffer, int32_t count)
{
    return count > 0 ? stream_detail::read_available(stream, buffer, count) : 0;
}

} // namespace vantrel
