// Helpers shared by the stream implementations; not part of the public API.
#pragma once

#include "assets/stream.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace vantrel::stream_detail {

// Reads until count bytes are in the buffer or the stream is at its end and
// returns how many arrived. A read that makes no progress before the end
// raises TStreamReadError, as does one that claims more than was asked for.
int32_t read_available(TStreamIO& stream, void* buffer, int32_t count);

// A host size as a stream count; sizes a stream cannot express are refused.
inline int32_t count_of(size_t size)
{
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        raise_error(u"Stream count out of range");
    return static_cast<int32_t>(size);
}

} // namespace vantrel::stream_detail
