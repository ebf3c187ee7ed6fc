// FreeType fonts on the null renderer: loading from every kind of location,
// measuring (kerning, surrogate pairs, missing glyphs) and the textured
// primitives a line of text becomes. Bad font files give the null object.
#include "assets/registry.h"
#include "assets/stream.h"
#include "gfx/font.h"
#include "gfx/graphics2d.h"
#include "gfx/truetype.h"
#include "support/null_fixture.h"
#include "support/ttf_writer.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vantrel::test {
namespace {

const char* const FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::vector<uint8_t> font_bytes()
{
    std::ifstream in(FONT_FILE, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class NullTrueType : public NullGfxTest {
protected:
    void SetUp() override
    {
        NullGfxTest::SetUp();
        bytes = font_bytes();
        if (bytes.empty())
            GTEST_SKIP() << FONT_FILE << " is not installed (fonts-dejavu-core)";
        font = load_font(Text::from_bytes(FONT_FILE), 16);
        ASSERT_TRUE(font);
        select_font(font);
    }
    void TearDown() override { select_font(nullptr); }

    int32_t width(const char16_t* text) { return measure_text_width(Text(text)); }

    std::vector<uint8_t> bytes;
    Ref<TGlyphFont> font;
};

TEST_F(NullTrueType, LoadsFromFileMemoryStreamAndEmbeddedAsset)
{
    EXPECT_TRUE(load_font_from_memory(bytes.data(), bytes.size(), 24));
    auto stream = create_memory_stream(bytes.data(), static_cast<int32_t>(bytes.size()), 1, 0);
    EXPECT_TRUE(load_font(Ref<TObject>(stream), 24));
    register_asset(u"test-font.ttf", bytes.data(), static_cast<int32_t>(bytes.size()));
    Ref<TGlyphFont> embedded = load_font(Text(u"incbin::test-font.ttf"), 24);
    ASSERT_TRUE(embedded);
    select_font(embedded);
    const int32_t at_24 = width(u"Hello");
    select_font(font);
    EXPECT_GT(at_24, width(u"Hello")); // the pixel size counts
    EXPECT_GE(measure_text_height(), 16);
}

TEST_F(NullTrueType, BadInputGivesTheNullObject)
{
    EXPECT_FALSE(load_font(Text(u"/no/such/font.ttf"), 16));
    EXPECT_FALSE(load_font_from_memory(bytes.data(), 0, 16));
    const std::string junk(4096, 'x');
    EXPECT_FALSE(load_font_from_memory(reinterpret_cast<const uint8_t*>(junk.data()),
                                       junk.size(), 16));
    for (size_t cut : {size_t{12}, size_t{200}, bytes.size() / 3, bytes.size() / 2})
        EXPECT_FALSE(load_font_from_memory(bytes.data(), cut, 16)) << "cut at " << cut;
    EXPECT_FALSE(load_font_from_memory(bytes.data(), bytes.size(), 0));
    EXPECT_FALSE(load_font_from_memory(bytes.data(), bytes.size(), FONT_MAX_PIXEL_SIZE + 1));
    // The glyph table's entries point past the end of a file cut short.
    std::vector<uint8_t> scrambled = bytes;
    for (size_t i = 12; i < 12 + 16 * 20 && i < scrambled.size(); i += 16)
        scrambled[i + 8] ^= 0x7F; // each table's offset
    EXPECT_FALSE(load_font_from_memory(scrambled.data(), scrambled.size(), 16));
}

TEST_F(NullTrueType, WidthsKernCountNonAsciiAndSkipControls)
{
    EXPECT_EQ(width(u""), 0);
    EXPECT_EQ(width(u"A\nB"), width(u"AB"));
    EXPECT_LT(width(u"AV"), width(u"A") + width(u"V")); // kerned pair
    EXPECT_GT(width(u"h\u00e9llo\u20ac"), width(u"hllo") + width(u"e"));
}

TEST_F(NullTrueType, SurrogatePairIsOneCharacterAndMissingOnesTakeTheBox)
{
    // DejaVu Sans has no CJK: both are the missing-glyph box, one advance.
    const int32_t box = width(u"\u4e00");
    EXPECT_GT(box, 0);
    EXPECT_EQ(width(u"\U00020000"), box);
    EXPECT_EQ(width(u"a\U00020000b"), width(u"a") + box + width(u"b"));
    // A lone half of a pair reads as the replacement character.
    EXPECT_EQ(width(u"\xd800"), width(u"\ufffd"));
    draw_log().clear();
    draw_text(Text(u"\U00020000"), 0, 0);
    EXPECT_EQ(draw_log().count(NullOp::TexturedBegin), 1); // the box is drawn
}

TEST_F(NullTrueType, LineIsOnePrimitivePerAtlasPage)
{
    draw_log().clear();
    draw_text(Text(u"Hello, world"), 10, 20);
    EXPECT_EQ(draw_log().count(NullOp::TexturedBegin), 1);
    EXPECT_EQ(draw_log().count(NullOp::TexturedEnd), 1);
    // Eleven glyph pictures (the space has none): 4 corners and 2 joins each,
    // less the first join.
    EXPECT_EQ(draw_log().count(NullOp::TexturedVertex), 11 * 6 - 1);

    // Large glyphs fill one page after another.
    Ref<TGlyphFont> big = load_font_from_memory(bytes.data(), bytes.size(), 90);
    ASSERT_TRUE(big);
    select_font(big);
    std::u16string many;
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        many += c;
    draw_text(Text(many), 0, 0); // renders them all
    draw_log().clear();
    draw_text(Text(many), 0, 0);
    const int pages = draw_log().count(NullOp::TexturedBegin);
    EXPECT_GE(pages, 2);
    EXPECT_LE(pages, 26 / 2);
    draw_log().clear();
    draw_text(Text(u"AA"), 0, 0);
    EXPECT_EQ(draw_log().count(NullOp::TexturedBegin), 1);
}

TEST_F(NullTrueType, QuadsFollowPenScaleAndColour)
{
    set_colour(10, 20, 30);
    auto first_quad = [](float x) {
        draw_log().clear();
        draw_text(Text(u"H"), x, 50);
        std::vector<NullVertex> corners;
        for (const NullCall& call : draw_log().calls())
            if (call.op == NullOp::TexturedVertex)
                corners.push_back(call.vertices[0]);
        return corners;
    };
    const auto at_10 = first_quad(10);
    ASSERT_EQ(at_10.size(), 5u);
    const auto at_30 = first_quad(30);
    EXPECT_FLOAT_EQ(at_30[0].x - at_10[0].x, 20.0f);
    EXPECT_FLOAT_EQ(at_30[0].y, at_10[0].y);
    const float w = at_10[2].x - at_10[0].x, h = at_10[1].y - at_10[0].y;
    EXPECT_GT(w, 5.0f);
    EXPECT_GT(h, 8.0f);
    EXPECT_GE(at_10[0].y, 50.0f); // below the line's top
    set_scale(2, 2);
    const auto scaled = first_quad(10);
    EXPECT_FLOAT_EQ(scaled[2].x - scaled[0].x, 2 * w);
    EXPECT_FLOAT_EQ(scaled[1].y - scaled[0].y, 2 * h);
    // The vertices carry the colour, and the state's colour is put back.
    const NullCall* last_colour = nullptr;
    const NullCall* vertex = nullptr;
    for (const NullCall& call : draw_log().calls()) {
        if (call.op == NullOp::TexturedVertex)
            vertex = &call;
        if (call.op == NullOp::SetColour)
            last_colour = &call;
    }
    ASSERT_TRUE(vertex && last_colour);
    EXPECT_EQ(vertex->colour[0], 10);
    EXPECT_EQ(vertex->colour[2], 30);
    EXPECT_EQ(last_colour->ints[1], 20);
}

TEST_F(NullTrueType, BuiltInFontIsUnchanged)
{
    select_font(nullptr);
    EXPECT_EQ(measure_text_width(Text(u"AB")), 16);
    EXPECT_EQ(measure_text_width(Text(u"h\u00e9llo\u20ac")), 32);
    EXPECT_EQ(measure_text_height(), 16);
    draw_log().clear();
    draw_text(Text(u"AB"), 10, 20);
    EXPECT_EQ(draw_log().count(NullOp::TexturedBegin), 0);
    EXPECT_EQ(draw_log().shapes().size(), 2u);
}

} // namespace
} // namespace vantrel::test

namespace vantrel::test {
namespace {

// A font of known metrics: at 100 pixels a font unit is a tenth of a pixel.
class GeneratedFont : public NullGfxTest {
protected:
    void SetUp() override
    {
        NullGfxTest::SetUp();
        bytes = sample_ttf();
        font = load_font_from_memory(bytes.data(), bytes.size(), 100);
        ASSERT_TRUE(font);
        select_font(font);
    }
    void TearDown() override { select_font(nullptr); }
    int32_t width(const char16_t* text) { return measure_text_width(Text(text)); }

    std::vector<uint8_t> bytes;
    Ref<TGlyphFont> font;
};

TEST_F(GeneratedFont, AdvancesKerningAndTheMissingBox)
{
    EXPECT_EQ(width(u"A"), 70);
    EXPECT_EQ(width(u"V"), 70);
    EXPECT_EQ(width(u"AV"), 125); // kerned by 15
    EXPECT_EQ(width(u"VA"), 140); // only A then V is a pair
    EXPECT_EQ(width(u"A V"), 170);
    EXPECT_EQ(width(u"x"), 50); // not in the font: the box's advance
    EXPECT_EQ(width(u"\U0001F600I"), 80);
    EXPECT_EQ(measure_text_height(), 100);
    EXPECT_EQ(font->char_to_glyph(u'A'), 1);
    EXPECT_EQ(font->char_to_glyph(u'x'), 0);
    EXPECT_EQ(font->char_to_glyph(10), -1);
}

TEST_F(GeneratedFont, GlyphBoxesSitOnTheBaseline)
{
    draw_log().clear();
    draw_text(Text(u"IA"), 0, 0);
    std::vector<NullVertex> corners;
    for (const NullCall& call : draw_log().calls())
        if (call.op == NullOp::TexturedVertex)
            corners.push_back(call.vertices[0]);
    ASSERT_EQ(corners.size(), 11u);
    // The bar: 10 units wide from x 100, 70 high standing on the baseline
    // (ascender 80 pixels below the top), allowing a pixel of rounding.
    EXPECT_NEAR(corners[0].x, 10, 1);
    EXPECT_NEAR(corners[2].x - corners[0].x, 10, 1);
    EXPECT_NEAR(corners[0].y, 10, 1);
    EXPECT_NEAR(corners[1].y, 80, 1);
    // The A starts after the bar's advance.
    EXPECT_NEAR(corners[6].x, 30, 1);
    // Every glyph of the run on the same page: one strip.
    EXPECT_EQ(draw_log().count(NullOp::TexturedBegin), 1);
}

TEST_F(GeneratedFont, EveryCutOfTheFileIsRefusedOrUsable)
{
    for (size_t cut = 0; cut < bytes.size(); cut += 7) {
        Ref<TGlyphFont> partial = load_font_from_memory(bytes.data(), cut, 20);
        if (partial) {
            EXPECT_GE(partial->measure(Text(u"AVI\u4e00")), 0) << cut;
        }
    }
    EXPECT_FALSE(load_font_from_memory(bytes.data(), bytes.size() / 2, 20));
}

} // namespace
} // namespace vantrel::test

namespace vantrel::test {
namespace {

// A square glyph from (x0, y0) to (x1, y1) in font units.
TtfGlyph square(char16_t code, int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    return TtfGlyph{code, 600, {{{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}}}};
}

// A hostile outline that claims dozens of ems a side would need a bitmap of
// hundreds of megabytes and seconds to fill: the font still loads and its
// other glyphs draw, but that glyph is refused. Three ems a side is still a
// glyph.
TEST_F(NullGfxTest, AGlyphDozensOfEmsWideIsRefusedAndTheRestDraw)
{
    const std::vector<uint8_t> bytes =
        write_ttf({square(0, 100, 0, 500, 700), square(u'A', 0, 0, 600, 700),
                   square(u'W', -16000, -16000, 16000, 16000), square(u'M', 0, -1000, 2900, 1900)},
                  {});
    const Ref<TGlyphFont> font = load_font_from_memory(bytes.data(), bytes.size(), 256);
    ASSERT_TRUE(font);
    const Ref<TImageGlyph> huge = font->load_glyph(font->char_to_glyph(u'W'));
    ASSERT_TRUE(huge);
    EXPECT_FALSE(huge->image());
    const Ref<TImageGlyph> tall = font->load_glyph(font->char_to_glyph(u'M'));
    ASSERT_TRUE(tall && tall->image());
    int32_t x = 0, y = 0, w = 0, h = 0;
    tall->get_rect(x, y, w, h);
    EXPECT_NEAR(w, 2900 * 256 / 1000, 2);
    ASSERT_TRUE(font->load_glyph(font->char_to_glyph(u'A'))->image());
    EXPECT_GT(font->measure(Text(u"AWM")), 0);
}

} // namespace
} // namespace vantrel::test
