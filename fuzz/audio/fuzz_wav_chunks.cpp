// The second WAV reader on its own over arbitrary bytes; whatever loads is
// read, converted and mixed (sample_fuzz.h).
#include "assets/stream.h"
#include "audio/wav_chunk_loader.h"
#include "sample_fuzz.h"

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vantrel;
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return 0;
    Ref<TByteStream> stream = create_memory_stream(data, static_cast<int32_t>(size), 1, 0);
    Ref<TSampleBuffer> buffer = TWavChunkLoader().load(stream);
    if (!buffer)
        return 0;
    if (static_cast<size_t>(buffer->capacity) > size)
        __builtin_trap(); // more memory than the stream could fill
    return fuzz::exercise_buffer(buffer);
}
