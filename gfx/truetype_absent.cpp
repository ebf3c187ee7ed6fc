// Without FreeType there are no font files to load.
#include "gfx/truetype.h"

namespace vantrel {

Ref<TGlyphFont> load_font_from_memory(const uint8_t*, size_t, int32_t) { return nullptr; }

} // namespace vantrel
