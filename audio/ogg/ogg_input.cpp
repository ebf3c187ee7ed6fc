// Stream callbacks for libvorbisfile, and the end-of-stream check.
//
// libvorbisfile treats a read that returns 0 as the end of the data unless
// errno is set, so a stream error sets it.
#include "audio/ogg/ogg_input.h"

#include "assets/loader_input.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace vantrel::ogg_detail {

namespace {

// The largest page: a 27-byte header, 255 lacing values, 255 x 255 bytes.
constexpr int64_t MAX_PAGE_BYTES = 27 + 255 + 255 * 255;

size_t read_input(void* buffer, size_t size, size_t count, void* source) noexcept
{
    auto& input = *static_cast<OggInput*>(source);
    if (size == 0)
        return 0;
    const size_t wanted = std::min<size_t>(size * count, std::numeric_limits<int32_t>::max());
    try {
        errno = 0;
        const auto got = static_cast<size_t>(
            read_up_to(*input.stream, buffer, static_cast<int32_t>(wanted)));
        return got / size;
    } catch (...) {
        input.failure = std::current_exception();
        errno = EIO;
        return 0;
    }
}

int seek_input(void* source, ogg_int64_t offset, int whence) noexcept
{
    auto& input = *static_cast<OggInput*>(source);
    if (input.size < 0)
        return -1;
    try {
        const int64_t base = whence == SEEK_SET ? 0
                             : whence == SEEK_END ? input.size
                                                  : int64_t{input.stream->pos()} - input.start;
        const int64_t target = base + offset;
        if (target < 0 || target > input.size)
            return -1;
        return input.stream->seek(static_cast<int32_t>(input.start + target)) < 0 ? -1 : 0;
    } catch (...) {
        input.failure = std::current_exception();
        return -1;
    }
}

long tell_input(void* source) noexcept
{
    auto& input = *static_cast<OggInput*>(source);
    try {
        const int32_t at = input.stream->pos();
        return at < 0 ? -1 : static_cast<long>(at - input.start);
    } catch (...) {
        input.failure = std::current_exception();
        return -1;
    }
}

// The length of a whole page starting at `page`, or 0 when it is not one
// that fits in `available` bytes.
int64_t page_length(const uint8_t* page, int64_t available)
{
    if (available < 27 || std::memcmp(page, "OggS", 4) != 0 || page[4] != 0)
        return 0;
    const int64_t segments = page[26];
    if (available < 27 + segments)
        return 0;
    int64_t body = 0;
    for (int64_t i = 0; i < segments; ++i)
        body += page[27 + i];
    return 27 + segments + body;
}

} // namespace

ov_callbacks stream_callbacks()
{
    ov_callbacks callbacks{};
    callbacks.read_func = read_input;
    callbacks.seek_func = seek_input;
    callbacks.close_func = nullptr; // the stream belongs to the caller
    callbacks.tell_func = tell_input;
    return callbacks;
}

bool ends_with_final_page(OggInput& input)
{
    const int64_t tail = std::min(input.size, MAX_PAGE_BYTES);
    std::vector<uint8_t> bytes(static_cast<size_t>(tail));
    input.stream->seek(static_cast<int32_t>(input.start + input.size - tail));
    const bool complete = read_exactly(*input.stream, bytes.data(), static_cast<int32_t>(tail));
    input.stream->seek(input.start);
    if (!complete)
        return false;
    // The last page is the one whose end is the end of the data.
    for (int64_t at = tail - 27; at >= 0; --at) {
        if (page_length(&bytes[static_cast<size_t>(at)], tail - at) == tail - at)
            return (bytes[static_cast<size_t>(at) + 5] & 0x04) != 0;
    }
    return false;
}

} // namespace vantrel::ogg_detail
