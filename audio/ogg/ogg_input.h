// libvorbisfile's side of the Ogg Vorbis loader: read, seek and tell
// callbacks over a TByteStream, and a check that a stream ends with its
// final page.
#pragma once

#include "assets/stream.h"

#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <exception>

namespace vantrel::ogg_detail {

// The data source handed to libvorbisfile. Offsets are counted from start,
// the stream position where the Ogg data begins.
struct OggInput {
    TByteStream* stream = nullptr;
    int32_t start = 0;
    int64_t size = -1;            // bytes from start to the end; -1 when unknown
    std::exception_ptr failure;   // an error the stream raised in a callback
};

// Callbacks that never throw: a stream error is kept in the input and shows
// to libvorbisfile as a failed read or seek. Without a known size the input
// is not seekable.
ov_callbacks stream_callbacks();

// Whether the data ends exactly with a complete page that carries the
// end-of-stream flag. Leaves the stream at start.
bool ends_with_final_page(OggInput& input);

} // namespace vantrel::ogg_detail
