// FreeType fonts on OpenGL: the pixels a loaded font's text covers.
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"
#include "gfx/truetype.h"
#include "support/gfx_fixture.h"

#include <filesystem>

namespace vantrel::test {
namespace {

const char* const FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class TrueTypeText : public GfxTest {
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        if (!std::filesystem::exists(FONT_FILE))
            GTEST_SKIP() << FONT_FILE << " is not installed (fonts-dejavu-core)";
        font = load_font(Text::from_bytes(FONT_FILE), 40);
        ASSERT_TRUE(font);
        select_font(font);
        set_clear_colour(0, 0, 80);
        clear_screen();
    }
    void TearDown() override { select_font(nullptr); }

    Ref<TGlyphFont> font;
};

TEST_F(TrueTypeText, AlphaTextLiesInItsMeasuredBoxWithSmoothEdges)
{
    set_blend_mode(BLEND_ALPHA);
    set_colour(255, 255, 255);
    draw_text(u"Hi", 20, 30);
    const auto b = bounds_not({0, 0, 80});
    ASSERT_GE(b[0], 20);
    EXPECT_LE(b[2], 20 + measure_text_width(u"Hi"));
    EXPECT_GE(b[1], 30);
    EXPECT_LE(b[3], 30 + measure_text_height());
    EXPECT_GT(b[3] - b[1], 20); // a capital at 40 pixels
    int full = 0, partial = 0;
    for (int y = b[1]; y < b[3]; ++y)
        for (int x = b[0]; x < b[2]; ++x) {
            const RGB c = pixel(x, y);
            full += c == RGB{255, 255, 255};
            partial += c != RGB{255, 255, 255} && c != RGB{0, 0, 80};
        }
    EXPECT_GT(full, 100);
    EXPECT_GT(partial, 10);
}

TEST_F(TrueTypeText, MissingGlyphIsAHollowBoxAndColourStaysTheState)
{
    set_blend_mode(BLEND_MASK);
    set_colour(255, 200, 0);
    draw_text(u"\u4e00", 100, 100);
    const auto b = bounds_not({0, 0, 80});
    ASSERT_GT(b[2] - b[0], 10);
    ASSERT_GT(b[3] - b[1], 10);
    EXPECT_EQ(pixel((b[0] + b[2]) / 2, (b[1] + b[3]) / 2), (RGB{0, 0, 80}));
    EXPECT_GT(count_pixels(b[0], b[1], b[2], b[3], {255, 200, 0}), 20);
    // Ordinary drawing after the text still takes the state's colour.
    set_colour(0, 255, 0);
    draw_rect(300, 300, 4, 4);
    EXPECT_EQ(pixel(301, 301), (RGB{0, 255, 0}));
    set_colour(255, 0, 0);
    draw_text(u"\u4e00", 200, 200);
    draw_rect(310, 300, 4, 4);
    EXPECT_EQ(pixel(311, 301), (RGB{255, 0, 0}));
}

} // namespace
} // namespace vantrel::test
