// Packs the drawn glyph table into the font blob.
#include "font/glyphs.h"

#include <stdexcept>
#include <string>

namespace vantrel::assetgen {

Bytes pack_font(const GlyphArt& art)
{
    constexpr size_t kLineLength = kGlyphsPerGroup * 9 - 1;  // six 8-pixel cells, single spaces
    if (art.count != static_cast<size_t>(kGlyphCount / kGlyphsPerGroup * kGlyphRowCount))
        throw std::logic_error("glyph table: wrong number of lines");
    Bytes blob(static_cast<size_t>(kGlyphCount * kGlyphRowCount), 0);
    for (size_t line = 0; line < art.count; ++line) {
        const std::string text = art.lines[line];
        if (text.size() != kLineLength)
            throw std::logic_error("glyph table: line " + std::to_string(line) + " has the wrong length");
        const size_t group = line / kGlyphRowCount;
        const size_t row = line % kGlyphRowCount;
        for (size_t cell = 0; cell < kGlyphsPerGroup; ++cell) {
            const size_t glyph = group * kGlyphsPerGroup + cell;
            uint8_t bits = 0;
            for (size_t column = 0; column < 8; ++column) {
                const char c = text[cell * 9 + column];
                if (c != '#' && c != '.')
                    throw std::logic_error("glyph table: unexpected character on line " + std::to_string(line));
                if (c == '#')
                    bits = static_cast<uint8_t>(bits | (1u << column));
            }
            if (cell + 1 < kGlyphsPerGroup && text[cell * 9 + 8] != ' ')
                throw std::logic_error("glyph table: cells must be separated by one space");
            blob[row * kGlyphCount + glyph] = bits;
        }
    }
    return blob;
}

}  // namespace vantrel::assetgen
