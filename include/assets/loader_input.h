// Reading untrusted data in the pixmap and sample loaders: how much a stream
// still holds, so that a header's sizes can be checked before anything is
// allocated for them, and reads that say how much arrived.
#pragma once

#include "assets/stream.h"

#include <cstdint>

namespace vantrel {

// Bytes between the stream's position and its end, or -1 when the stream
// cannot tell.
int64_t stream_bytes_left(TByteStream& stream);

// Reads until count bytes arrived or the stream ended, and returns how many
// arrived. Stream errors pass on to the caller.
int32_t read_up_to(TByteStream& stream, void* buffer, int32_t count);

// True when all count bytes arrived.
inline bool read_exactly(TByteStream& stream, void* buffer, int32_t count)
{
    return read_up_to(stream, buffer, count) == count;
}

} // namespace vantrel
