// load_font over arbitrary bytes; whatever loads has its glyphs rendered
// into the atlas and pictures by measuring a text that touches plain,
// missing, paired and lone-surrogate characters, and by loading glyphs.
#include "gfx/font.h"
#include "gfx/truetype.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vantrel;
    // The first byte picks the pixel size, so sizes are fuzzed too.
    if (size < 1)
        return 0;
    const int32_t pixel_size = 1 + data[0] % 64;
    Ref<TGlyphFont> font = load_font_from_memory(data + 1, size - 1, pixel_size);
    if (!font)
        return 0;
    if (font->measure(Text(u"AVa \u00e9\u20ac\u4e00\U0001F600\xd800!")) < 0)
        __builtin_trap();
    for (int32_t index = 0; index < std::min(font->glyph_count(), 32); ++index)
        font->load_glyph(index);
    return 0;
}
