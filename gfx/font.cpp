// Glyph fonts: glyph lookup, lazily made glyphs, text drawing and measuring.
#include "gfx/font.h"

#include "assets/pixmap.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"

namespace vantrel {

TImageGlyph::TImageGlyph(Ref<TImage> picture, float advance, int32_t x, int32_t y, int32_t width,
                         int32_t height)
    : image_(std::move(picture)), advance_(advance), x_(x), y_(y), width_(width), height_(height)
{
}

TImageGlyph::~TImageGlyph() = default;

void TImageGlyph::get_rect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const
{
    x = x_;
    y = y_;
    width = width_;
    height = height_;
}

bool TFontSource::draw_run(const Text&, float, float, float, float, float, float) { return false; }

bool TFontSource::measure_run(const Text&, int32_t&) { return false; }

TGlyphFont::TGlyphFont(Ref<TFontSource> source, int32_t glyph_count, int32_t glyph_flags)
    : source_(std::move(source)), glyphs_(static_cast<size_t>(glyph_count > 0 ? glyph_count : 0)),
      glyph_flags_(glyph_flags)
{
}

int32_t TGlyphFont::style() { return source_ ? source_->style() : 0; }

int32_t TGlyphFont::height() { return source_ ? source_->height() : 16; }

int32_t TGlyphFont::char_to_glyph(int32_t code)
{
    if (source_)
        return source_->char_to_glyph(code);
    return code >= 32 && code < 128 ? code - 32 : -1;
}

Ref<TImageGlyph> TGlyphFont::load_glyph(int32_t index)
{
    if (index < 0 || index >= glyph_count())
        return nullptr;
    auto& glyph = glyphs_[static_cast<size_t>(index)];
    if (glyph || !source_)
        return glyph;
    int32_t x = 0, y = 0, w = 0, h = 0;
    float advance = 0;
    auto pixmap = source_->glyph_pixmap(index, x, y, w, h, advance);
    Ref<TImage> picture;
    if (pixmap)
        picture = TImage::load(Ref<TObject>(pixmap->copy()), glyph_flags_, 0, 0, 0);
    glyph = make_ref<TImageGlyph>(picture, advance, x, y, w, h);
    return glyph;
}

void TGlyphFont::set_glyph(int32_t index, Ref<TImageGlyph> glyph)
{
    if (index >= 0 && index < glyph_count())
        glyphs_[static_cast<size_t>(index)] = std::move(glyph);
}

void TGlyphFont::draw(const Text& text, float x, float y, float ix, float iy, float jx, float jy)
{
    if (source_ && source_->draw_run(text, x, y, ix, iy, jx, jy))
        return;
    for (char16_t unit : text.view()) {
        auto glyph = load_glyph(char_to_glyph(unit));
        if (!glyph)
            continue;
        int32_t gx = 0, gy = 0, gw = 0, gh = 0;
        glyph->get_rect(gx, gy, gw, gh);
        const auto dx = static_cast<int32_t>(static_cast<float>(gx) * ix + static_cast<float>(gy) * iy);
        const auto dy = static_cast<int32_t>(static_cast<float>(gx) * jx + static_cast<float>(gy) * jy);
        if (auto picture = glyph->image())
            picture->frame(0)->draw(0, 0, static_cast<float>(picture->width),
                                    static_cast<float>(picture->height), x + static_cast<float>(dx),
                                    y + static_cast<float>(dy));
        x += glyph->advance() * ix;
        y += glyph->advance() * jx;
    }
}

void draw_text(const Text& text, float x, float y)
{
    auto g = current_graphics2d();
    const float hx = g->handle_x, hy = g->handle_y;
    current_font()->draw(text, x + g->origin_x + hx * g->ix + hy * g->iy,
                         y + g->origin_y + hx * g->jx + hy * g->jy, g->ix, g->iy, g->jx, g->jy);
}

int32_t TGlyphFont::measure(const Text& text)
{
    int32_t width = 0;
    if (source_ && source_->measure_run(text, width))
        return width;
    for (char16_t unit : text.view())
        if (auto glyph = load_glyph(char_to_glyph(unit)))
            width = static_cast<int32_t>(static_cast<float>(width) + glyph->advance());
    return width;
}

int32_t measure_text_width(const Text& text) { return current_font()->measure(text); }

int32_t measure_text_height() { return current_font()->height(); }

} // namespace vantrel
