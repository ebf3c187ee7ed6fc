// The committed font blob and the table it is packed from.
#include "asset_data.h"

#include "font/glyphs.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantrel::assetgen {
namespace {

using Glyph = std::array<uint8_t, 16>;

Glyph glyph_of(const Bytes& blob, int code)
{
    Glyph g{};
    for (size_t row = 0; row < 16; ++row)
        g[row] = blob[row * 96 + static_cast<size_t>(code - 32)];
    return g;
}

bool rows_empty(const Glyph& g, size_t first, size_t last)
{
    for (size_t row = first; row <= last; ++row)
        if (g[row] != 0)
            return false;
    return true;
}

TEST(FontAsset, IsSixteenRowsOfNinetySixGlyphs)
{
    EXPECT_EQ(committed_asset("tarnfont.bin").size(), 1536u);
}

TEST(FontAsset, SpaceIsBlankAndEveryOtherGlyphIsDrawnAndDistinct)
{
    const Bytes blob = committed_asset("tarnfont.bin");
    ASSERT_EQ(blob.size(), 1536u);
    EXPECT_TRUE(rows_empty(glyph_of(blob, 32), 0, 15));
    std::set<Glyph> seen;
    for (int code = 33; code <= 127; ++code) {
        const Glyph g = glyph_of(blob, code);
        EXPECT_FALSE(rows_empty(g, 0, 15)) << "code " << code;
        EXPECT_TRUE(seen.insert(g).second) << "code " << code << " repeats another glyph";
    }
}

TEST(FontAsset, LettersShareBaselineAndLeaveAGapColumn)
{
    const Bytes blob = committed_asset("tarnfont.bin");
    ASSERT_EQ(blob.size(), 1536u);
    const std::string descenders = "gjpqy";
    for (int code = 33; code <= 126; ++code) {
        const Glyph g = glyph_of(blob, code);
        if (std::isalnum(code)) {
            for (uint8_t row : g)
                EXPECT_EQ(row & 0x80, 0) << "column 7 of '" << static_cast<char>(code) << "'";
            EXPECT_TRUE(rows_empty(g, 0, 2)) << static_cast<char>(code);
            EXPECT_NE(g[12], 0) << "'" << static_cast<char>(code) << "' reaches the baseline";
        }
        if (std::isupper(code) && code != 'Q') {
            EXPECT_TRUE(rows_empty(g, 13, 15)) << static_cast<char>(code);
        }
        if (std::islower(code)) {
            const bool descends = descenders.find(static_cast<char>(code)) != std::string::npos;
            EXPECT_EQ(!rows_empty(g, 13, 15), descends) << static_cast<char>(code);
        }
    }
}

TEST(FontAsset, BitZeroIsTheLeftmostColumn)
{
    const Bytes blob = committed_asset("tarnfont.bin");
    ASSERT_EQ(blob.size(), 1536u);
    // 'L' has its stem on the left and its foot running right.
    const Glyph l = glyph_of(blob, 'L');
    EXPECT_EQ(l[5], 0x03);
    EXPECT_EQ(l[12], 0x7F);
}

TEST(FontPacking, PacksTheDrawnTableToTheCommittedBlob)
{
    EXPECT_EQ(pack_font(glyph_art()), committed_asset("tarnfont.bin"));
}

TEST(FontPacking, RejectsMalformedTables)
{
    const GlyphArt art = glyph_art();
    std::vector<const char*> lines(art.lines, art.lines + art.count);
    EXPECT_THROW(pack_font({lines.data(), lines.size() - 1}), std::logic_error);

    const std::string short_line = std::string(lines[5]).substr(1);
    const std::string bad_char = "x" + std::string(lines[5]).substr(1);
    const std::string no_space = std::string(lines[5]).replace(8, 1, ".");
    for (const std::string* line : {&short_line, &bad_char, &no_space}) {
        std::vector<const char*> broken = lines;
        broken[5] = line->c_str();
        EXPECT_THROW(pack_font({broken.data(), broken.size()}), std::logic_error) << *line;
    }
}

}  // namespace
}  // namespace vantrel::assetgen
