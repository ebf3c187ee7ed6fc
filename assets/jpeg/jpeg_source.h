// libjpeg's side of the JPEG loader: an error manager that jumps back to the
// decoder instead of ending the process, and a data source that reads a
// TByteStream.
//
// Everything here is plain data, since libjpeg leaves by longjmp: no object
// with a destructor may live in a frame it jumps over.
#pragma once

#include "assets/stream.h"

#include <csetjmp>
#include <cstdio>
#include <exception>

#include <jpeglib.h>
#include <jerror.h>

namespace vantrel::jpeg_detail {

inline constexpr size_t JPEG_SOURCE_CHUNK = 4096;

struct JpegErrors {
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it is ours too
    std::jmp_buf jump;
};

struct JpegSource {
    jpeg_source_mgr manager; // first, as above
    TByteStream* stream = nullptr;
    std::exception_ptr* failure = nullptr; // where a stream error is kept
    size_t preloaded = 0;                   // bytes already in the buffer
    JOCTET buffer[JPEG_SOURCE_CHUNK];
};

// Errors and corrupt-data warnings jump to errors.jump.
jpeg_error_mgr* use_jumping_errors(JpegErrors& errors);

// Feeds the decoder the preloaded bytes, then from source.stream. The end of the data, or an error of
// the stream (kept in *source.failure), fails the decode.
void use_stream_source(j_decompress_ptr info, JpegSource& source);

} // namespace vantrel::jpeg_detail
