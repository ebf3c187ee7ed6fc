// Creating, wrapping and copying sample buffers.
#include "audio/sample_buffer.h"

#include "core/error.h"

#include <cstring>
#include <limits>

namespace vantrel {

#if defined(__SSE2__)
// The SSE mixing loads 16 bytes at a time; the scalar one (WebAssembly) needs
// no more than the sample's own alignment.
static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 16, "sample memory must be 16-byte aligned");
#endif

TSampleBuffer::TSampleBuffer(uint8_t* data_, int32_t frames_, int32_t hertz_, int32_t format_,
                             int32_t capacity_, std::unique_ptr<uint8_t[]> owned)
    : data(data_), frames(frames_), hertz(hertz_), format(format_), capacity(capacity_),
      owned_(std::move(owned))
{
}

Ref<TSampleBuffer> create_sample_buffer(int32_t frames, int32_t hertz, int32_t format)
{
    const int64_t bytes = int64_t{frames} * sample_frame_bytes(format);
    if (frames < 0 || bytes > std::numeric_limits<int32_t>::max())
        raise_error(u"Invalid sample buffer size");
    auto memory = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(bytes));
    uint8_t* data = memory.get();
    return make_ref<TSampleBuffer>(data, frames, hertz, format, static_cast<int32_t>(bytes),
                                   std::move(memory));
}

Ref<TSampleBuffer> wrap_samples(void* data, int32_t frames, int32_t hertz, int32_t format)
{
    return make_ref<TSampleBuffer>(static_cast<uint8_t*>(data), frames, hertz, format, -1, nullptr);
}

Ref<TSampleBuffer> TSampleBuffer::copy() const
{
    Ref<TSampleBuffer> result = create_sample_buffer(frames, hertz, format);
    std::memcpy(result->data, data, static_cast<size_t>(result->capacity));
    return result;
}

Ref<TSampleBuffer> TSampleBuffer::convert(int32_t target) const
{
    if (target != format && (sample_frame_bytes(target) == 0 || sample_frame_bytes(format) == 0))
        raise_error(u"Unimplemented sample format conversion");
    Ref<TSampleBuffer> result = create_sample_buffer(frames, hertz, target);
    convert_samples(data, format, result->data, target, frames);
    return result;
}

} // namespace vantrel
