// The font's glyphs as drawn text (see glyphs.cpp) and the packed blob.
#pragma once

#include "common/byte_io.h"

#include <cstddef>

namespace vantrel::assetgen {

inline constexpr int kGlyphCount = 96;  // codes 32 to 127
inline constexpr int kGlyphRowCount = 16;
inline constexpr int kGlyphsPerGroup = 6;

struct GlyphArt {
    const char* const* lines;  // groups of 16 lines, six glyphs per line
    size_t count;
};

GlyphArt glyph_art();

// The 1536-byte blob: byte row * 96 + g is row `row` of the glyph for code
// 32 + g, bit 2^k set when column k is set. Throws std::logic_error when the
// drawn table is malformed.
Bytes pack_font(const GlyphArt& art);

}  // namespace vantrel::assetgen
