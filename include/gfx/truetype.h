// TrueType and OpenType fonts, drawn and measured like the built-in font.
//
// A loaded font is a TGlyphFont: select_font makes draw_text and
// measure_text_width use it. Text is UTF-16 with surrogate pairs, kerned
// where the font says so; a character the font lacks draws the font's
// missing-glyph box and takes its advance; control characters (below 32)
// are skipped as the built-in font skips them. Glyphs are rendered on
// first use into texture pages, so a line costs one draw per page it
// touches. Main thread only.
#pragma once

#include "core/object.h"
#include "core/text.h"
#include "gfx/font.h"

#include <cstdint>

namespace vantrel {

constexpr int32_t FONT_MAX_PIXEL_SIZE = 256;
// Font files larger than this are refused rather than read.
constexpr int32_t FONT_MAX_FILE_BYTES = 32 << 20;

// The font at location (a file, "incbin::" asset, stream or anything
// open_stream accepts) with glyphs pixel_size pixels high (1 to
// FONT_MAX_PIXEL_SIZE). The null object when the location opens nothing,
// the data is no font FreeType can read, is truncated or corrupt, the size is
// out of range, or the engine was built without FreeType.
Ref<TGlyphFont> load_font(const Ref<TObject>& location, int32_t pixel_size);
Ref<TGlyphFont> load_font(const Text& location, int32_t pixel_size);

// The same over bytes in memory, which are copied.
Ref<TGlyphFont> load_font_from_memory(const uint8_t* data, size_t size, int32_t pixel_size);

} // namespace vantrel
