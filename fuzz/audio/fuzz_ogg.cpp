// The Ogg Vorbis loader (libvorbisfile) over arbitrary bytes in a memory
// stream; whatever loads is read, converted and mixed (sample_fuzz.h).
#include "assets/stream.h"
#include "audio/ogg/ogg_loader.h"
#include "sample_fuzz.h"

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vantrel;
    static const Ref<TSampleLoader> loader = make_ref<TOggLoader>();
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return 0;
    Ref<TByteStream> stream = create_memory_stream(data, static_cast<int32_t>(size), 1, 0);
    Ref<TSampleBuffer> buffer;
    try {
        buffer = loader->load(stream);
    } catch (const TStreamError&) {
        return 0; // what load_sample_buffer takes as "not this loader's"
    }
    if (!buffer)
        return 0;
    if (buffer->capacity > (static_cast<int64_t>(size) + 1) * OGG_BYTES_PER_INPUT_BYTE ||
        buffer->capacity > OGG_MAX_BYTES)
        __builtin_trap(); // beyond the loader's limits
    return fuzz::exercise_buffer(buffer);
}
