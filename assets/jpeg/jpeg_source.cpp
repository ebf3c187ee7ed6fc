// The error manager and stream source behind the JPEG loader.
//
// The source reads the stream in chunks. Running out of data is an error
// rather than the usual fake end-of-image marker, so that a file cut short
// is refused instead of decoding to grey. A stream error is caught in the
// callback, kept for the loader, and turned into a libjpeg error, so no C++
// exception crosses libjpeg's frames.
#include "assets/jpeg/jpeg_source.h"

#include "assets/loader_input.h"

#include <algorithm>

namespace vantrel::jpeg_detail {

namespace {

[[noreturn]] void jump_back(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Level -1 is a warning about corrupt data: the picture is damaged. Stray
// bytes between markers are the exception: libjpeg skips them, the data the
// picture needs is all there, and other decoders show such files.
void on_message(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code != JWRN_EXTRANEOUS_DATA)
        jump_back(info);
}

void no_output(j_common_ptr) {}

JpegSource& source_of(j_decompress_ptr info)
{
    return *reinterpret_cast<JpegSource*>(info->src);
}

// The buffer may already hold the bytes the loader looked at.
void start_source(j_decompress_ptr) {}

size_t read_or_keep_error(JpegSource& source) noexcept
{
    try {
        return static_cast<size_t>(
            read_up_to(*source.stream, source.buffer, static_cast<int32_t>(JPEG_SOURCE_CHUNK)));
    } catch (...) {
        *source.failure = std::current_exception();
        return 0;
    }
}

boolean fill_buffer(j_decompress_ptr info)
{
    JpegSource& source = source_of(info);
    const size_t got = read_or_keep_error(source);
    if (got == 0)
        ERREXIT(info, JERR_INPUT_EOF);
    source.manager.next_input_byte = source.buffer;
    source.manager.bytes_in_buffer = got;
    return TRUE;
}

void skip_input(j_decompress_ptr info, long count)
{
    jpeg_source_mgr& manager = source_of(info).manager;
    while (count > 0) {
        if (manager.bytes_in_buffer == 0)
            fill_buffer(info);
        const size_t step = std::min(manager.bytes_in_buffer, static_cast<size_t>(count));
        manager.next_input_byte += step;
        manager.bytes_in_buffer -= step;
        count -= static_cast<long>(step);
    }
}

void end_source(j_decompress_ptr) {}

} // namespace

jpeg_error_mgr* use_jumping_errors(JpegErrors& errors)
{
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jump_back;
    errors.manager.emit_message = on_message;
    errors.manager.output_message = no_output;
    return &errors.manager;
}

void use_stream_source(j_decompress_ptr info, JpegSource& source)
{
    source.manager.init_source = start_source;
    source.manager.fill_input_buffer = fill_buffer;
    source.manager.skip_input_data = skip_input;
    source.manager.resync_to_restart = jpeg_resync_to_restart;
    source.manager.term_source = end_source;
    source.manager.next_input_byte = source.buffer;
    source.manager.bytes_in_buffer = std::min(source.preloaded, JPEG_SOURCE_CHUNK);
    info->src = &source.manager;
}

} // namespace vantrel::jpeg_detail
