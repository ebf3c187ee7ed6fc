// The built-in font and text drawing.
#include "assets/pixmap.h"
#include "assets/registry.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "support/gfx_fixture.h"
#include "support/gl_spy.h"

#include <GL/gl.h>

namespace vantrel::test {
namespace {

bool font_bit(int code, int row, int col)
{
    const uint8_t* bits = asset_data(u"tarnfont.bin");
    return (bits[row * 96 + (code - 32)] >> col) & 1;
}

// Quads drawn, as (left, top, right, bottom).
std::vector<std::array<float, 4>> quads()
{
    std::vector<std::array<float, 4>> out;
    for (const auto& p : spy_primitives())
        if (p.mode == GL_QUADS && p.vertices.size() == 4)
            out.push_back({p.vertices[0].x, p.vertices[0].y, p.vertices[2].x, p.vertices[2].y});
    return out;
}

class Text2D : public GfxTest {};

TEST_F(Text2D, DefaultFontHasNinetySixGlyphsOfEightBySixteen)
{
    auto font = default_font();
    EXPECT_EQ(font->glyph_count(), 96);
    EXPECT_EQ(font->height(), 16);
    EXPECT_EQ(font->style(), 0);
    EXPECT_EQ(font->char_to_glyph('A'), 33);
    EXPECT_EQ(font->char_to_glyph(31), -1);
    EXPECT_EQ(font->char_to_glyph(127), 95);
    EXPECT_EQ(font->char_to_glyph(128), -1);
    auto glyph = font->load_glyph(33);
    ASSERT_TRUE(glyph);
    int x, y, w, h;
    glyph->get_rect(x, y, w, h);
    EXPECT_EQ(x, 0); EXPECT_EQ(y, 0); EXPECT_EQ(w, 8); EXPECT_EQ(h, 16);
    EXPECT_EQ(glyph->advance(), 8.0f);
    auto image = glyph->image();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->flags, 0);
    EXPECT_EQ(image->handle_x, 0.0f);
}

TEST_F(Text2D, EmbeddedBitmapHasABlankSpaceAndVisibleLetters)
{
    ASSERT_EQ(asset_size(u"tarnfont.bin"), 1536);
    int space = 0, letter = 0;
    for (int row = 0; row < 16; ++row)
        for (int col = 0; col < 8; ++col) {
            space += font_bit(' ', row, col);
            letter += font_bit('A', row, col);
        }
    EXPECT_EQ(space, 0);
    EXPECT_GT(letter, 8);
}

TEST_F(Text2D, GlyphPicturesFollowTheBitmapBits)
{
    auto font = default_font();
    for (int code : {'A', 'g', '~', ' '}) {
        auto p = font->load_glyph(code - 32)->image()->pixmaps[0];
        ASSERT_EQ(p->format, FORMAT_RGBA32);
        for (int row = 0; row < 16; ++row)
            for (int col = 0; col < 8; ++col)
                ASSERT_EQ(p->get_pixel(col, row), font_bit(code, row, col) ? 0xFFFFFFFFu : 0u)
                    << char(code) << " " << row << "," << col;
    }
}

TEST_F(Text2D, GlyphTexturesUseNearestFiltering)
{
    auto image = default_font()->load_glyph(33)->image();
    auto f = ref_cast<TGLTextureFrame>(image->frame(0));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->u_right, 1.0f);
    EXPECT_EQ(f->v_bottom, 1.0f);
    gl_render_driver()->enable_texture(f->texture);
    GLint mag = 0, min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(mag, GL_NEAREST);
    EXPECT_EQ(min, GL_NEAREST);
}

TEST_F(Text2D, TwoCharactersAreTwoQuads)
{
    spy_start();
    draw_text(u"AB", 10, 20);
    spy_stop();
    auto q = quads();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0], (std::array<float, 4>{10, 20, 18, 36}));
    EXPECT_EQ(q[1], (std::array<float, 4>{18, 20, 26, 36}));
}

TEST_F(Text2D, ScaledTextAdvancesSixteenPixels)
{
    set_scale(2, 2);
    spy_start();
    draw_text(u"AB", 10, 20);
    spy_stop();
    auto q = quads();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0], (std::array<float, 4>{10, 20, 26, 52}));
    EXPECT_EQ(q[1], (std::array<float, 4>{26, 20, 42, 52}));
}

TEST_F(Text2D, HandleIsTurnedAndScaledWithTheText)
{
    set_handle(4, 8);
    set_scale(2, 2);
    set_origin(1, 1);
    spy_start();
    draw_text(u"A", 10, 20);
    spy_stop();
    auto q = quads();
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0], (std::array<float, 4>{3, 5, 19, 37}));
}

TEST_F(Text2D, UnknownCharactersAreSkippedWithoutMovingThePen)
{
    spy_start();
    draw_text(u"A\nB\u00e9", 10, 20);
    spy_stop();
    auto q = quads();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[1], (std::array<float, 4>{18, 20, 26, 36}));
}

TEST_F(Text2D, Measuring)
{
    EXPECT_EQ(measure_text_width(u"AB"), 16);
    EXPECT_EQ(measure_text_width(u""), 0);
    EXPECT_EQ(measure_text_width(u"A\nB"), 16);
    EXPECT_EQ(measure_text_height(), 16);
}

TEST_F(Text2D, MaskModeDrawsSetPixelsInTheCurrentColour)
{
    set_clear_colour(0, 0, 80);
    clear_screen();
    set_colour(255, 200, 0);
    draw_text(u"AB", 10, 20);
    for (int c = 0; c < 2; ++c)
        for (int row = 0; row < 16; ++row)
            for (int col = 0; col < 8; ++col) {
                const RGB want = font_bit('A' + c, row, col) ? RGB{255, 200, 0} : RGB{0, 0, 80};
                ASSERT_EQ(pixel(10 + c * 8 + col, 20 + row), want) << c << " " << row << "," << col;
            }
    const auto b = bounds_not({0, 0, 80});
    EXPECT_GE(b[0], 10);
    EXPECT_LE(b[2], 26);
}

TEST_F(Text2D, SpaceDrawsATransparentQuadAndAdvances)
{
    for (int mode : {BLEND_ALPHA, BLEND_LIGHT}) {
        set_clear_colour(30, 60, 90);
        clear_screen();
        set_blend_mode(mode);
        spy_start();
        draw_text(u" A", 0, 0);
        spy_stop();
        auto q = quads();
        ASSERT_EQ(q.size(), 2u);
        EXPECT_EQ(q[1][0], 8.0f);
        EXPECT_EQ(count_pixels(0, 0, 8, 16, {30, 60, 90}), 128) << mode;
        for (int row = 0; row < 16; ++row) {
            for (int col = 0; col < 8; ++col) {
                if (!font_bit('A', row, col)) {
                    ASSERT_EQ(pixel(8 + col, row), (RGB{30, 60, 90}));
                }
            }
        }
    }
}

TEST_F(Text2D, SelectingAFontAndNullSelectsTheBuiltIn)
{
    auto other = make_ref<TGlyphFont>(nullptr, 96, 0);
    select_font(other);
    EXPECT_EQ(current_font(), other);
    EXPECT_EQ(measure_text_width(u"AB"), 0); // no glyphs made yet
    select_font(nullptr);
    EXPECT_EQ(current_font(), default_font());
}

// A source with one wide glyph for 'x', offset from the pen.
class OneGlyphSource final : public TFontSource {
public:
    int32_t style() override { return 3; }
    int32_t height() override { return 20; }
    int32_t char_to_glyph(int32_t code) override { return code == 'x' ? 0 : -1; }
    Ref<TPixmap> glyph_pixmap(int32_t, int32_t& x, int32_t& y, int32_t& w, int32_t& h,
                              float& advance) override
    {
        x = 2;
        y = -3;
        w = 12;
        h = 10;
        advance = 12.5f;
        auto p = new_pixmap(12, 10, FORMAT_RGBA32, 4);
        for (int i = 0; i < 120; ++i)
            p->put_pixel(i % 12, i / 12, 0xFFFFFFFF);
        ++made;
        return p;
    }
    int made = 0;
};

TEST_F(Text2D, FontWithASourceMakesGlyphsOnDemand)
{
    auto source = make_ref<OneGlyphSource>();
    auto font = make_ref<TGlyphFont>(Ref<TFontSource>(source), 1, 0);
    select_font(font);
    EXPECT_EQ(measure_text_height(), 20);
    EXPECT_EQ(font->style(), 3);
    EXPECT_EQ(measure_text_width(u"xx"), 24); // truncated after each glyph
    EXPECT_EQ(source->made, 1);
    spy_start();
    draw_text(u"xax", 100, 100);
    spy_stop();
    auto q = quads();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0], (std::array<float, 4>{102, 97, 114, 107}));
    EXPECT_EQ(q[1], (std::array<float, 4>{114.5f, 97, 126.5f, 107}));
    select_font(nullptr);
}

} // namespace
} // namespace vantrel::test
