// Writes small TrueType fonts for tests and fuzz seeds: a thousand units to
// the em, ascender 800, descender -200, straight-edged glyphs only.
#pragma once

#include <cstdint>
#include <vector>

namespace vantrel::test {

struct TtfPoint {
    int16_t x, y;
};

struct TtfGlyph {
    char16_t code = 0; // 0: mapped to no character (the missing glyph)
    uint16_t advance = 600;
    std::vector<std::vector<TtfPoint>> contours; // on-curve points, clockwise outside
};

struct TtfKern {
    uint16_t left, right; // glyph indices
    int16_t value;
};

// Glyph 0 must be the missing glyph.
std::vector<uint8_t> write_ttf(const std::vector<TtfGlyph>& glyphs,
                               const std::vector<TtfKern>& kerning);

// The font the tests use: 0 a hollow box, 1 'A', 2 'V', 3 the space,
// 4 'I' (a bar), with A-V kerned by -150 units.
std::vector<uint8_t> sample_ttf();

} // namespace vantrel::test
