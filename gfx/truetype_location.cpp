// Reading a font's bytes from any location.
#include "assets/stream.h"
#include "core/error.h"
#include "gfx/truetype.h"

#include <vector>

namespace vantrel {
namespace {

// False when the stream holds more than a font may.
bool read_all(TByteStream& stream, std::vector<uint8_t>& bytes)
{
    constexpr int32_t CHUNK = 64 << 10;
    for (;;) {
        const size_t had = bytes.size();
        if (had > static_cast<size_t>(FONT_MAX_FILE_BYTES))
            return false;
        bytes.resize(had + CHUNK);
        const int32_t got = stream.read(bytes.data() + had, CHUNK);
        bytes.resize(had + static_cast<size_t>(got > 0 ? got : 0));
        if (got <= 0)
            return true;
    }
}

} // namespace

Ref<TGlyphFont> load_font(const Ref<TObject>& location, int32_t pixel_size)
{
    if (pixel_size < 1 || pixel_size > FONT_MAX_PIXEL_SIZE)
        return nullptr;
    Ref<TByteStream> stream = read_stream(location);
    if (!stream)
        return nullptr;
    std::vector<uint8_t> bytes;
    try {
        if (!read_all(*stream, bytes))
            return nullptr;
    } catch (const TRuntimeError&) {
        return nullptr; // a stream that fails half-way
    }
    return load_font_from_memory(bytes.data(), bytes.size(), pixel_size);
}

Ref<TGlyphFont> load_font(const Text& location, int32_t pixel_size)
{
    return load_font(Ref<TObject>(location.object()), pixel_size);
}

} // namespace vantrel
