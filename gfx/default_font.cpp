// The built-in 8 x 16 font, made from the embedded "tarnfont.bin" bitmap.
#include "gfx/font.h"

#include "assets/pixmap.h"
#include "assets/registry.h"
#include "core/error.h"
#include "gfx/gfx_state.h"
#include "gfx/image.h"

namespace vantrel {
namespace {

constexpr int32_t GLYPHS = 96;
constexpr int32_t GLYPH_WIDTH = 8;
constexpr int32_t GLYPH_HEIGHT = 16;

Ref<TPixmap> font_sheet(const uint8_t* bits)
{
    auto sheet = new_pixmap(GLYPHS * GLYPH_WIDTH, GLYPH_HEIGHT, FORMAT_RGBA32, 4);
    for (int32_t row = 0; row < GLYPH_HEIGHT; ++row)
        for (int32_t g = 0; g < GLYPHS; ++g) {
            const uint8_t byte = bits[row * GLYPHS + g];
            for (int32_t k = 0; k < 8; ++k)
                sheet->put_pixel(g * GLYPH_WIDTH + k, row, (byte >> k) & 1 ? 0xFFFFFFFFu : 0u);
        }
    return sheet;
}

Ref<TGlyphFont>& font_holder() { return gfx_state().default_font; }

} // namespace

Ref<TGlyphFont> create_default_font()
{
    const Text name = u"tarnfont.bin";
    const uint8_t* bits = asset_data(name);
    if (!bits || asset_size(name) < DEFAULT_FONT_BYTES)
        raise_error(u"Font asset tarnfont.bin is missing");
    auto font = make_ref<TGlyphFont>(nullptr, GLYPHS, 0);
    auto sheet = font_sheet(bits);
    for (int32_t g = 0; g < GLYPHS; ++g) {
        auto cell = sheet->window(g * GLYPH_WIDTH, 0, GLYPH_WIDTH, GLYPH_HEIGHT)->copy();
        auto picture = TImage::load(Ref<TObject>(cell), 0, 0, 0, 0);
        font->set_glyph(g, make_ref<TImageGlyph>(picture, static_cast<float>(GLYPH_WIDTH), 0, 0,
                                                 GLYPH_WIDTH, GLYPH_HEIGHT));
    }
    return font;
}

Ref<TGlyphFont> default_font()
{
    auto& font = font_holder();
    if (!font)
        font = create_default_font();
    return font;
}

bool default_font_exists() { return static_cast<bool>(font_holder()); }

} // namespace vantrel
