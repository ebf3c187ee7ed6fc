// Glyph fonts and text drawing.
//
// A TGlyphFont maps UTF-16 code units to glyphs, each a small image with an
// offset, a box and an advance. The built-in font has 96 glyphs of 8 x 16
// for the codes 32 to 127, built from the embedded bitmap "tarnfont.bin":
// 16 rows of 96 bytes, byte row * 96 + g holding row `row` of glyph g, the
// least significant bit being the leftmost pixel. Text is drawn glyph by
// glyph under the current origin, handle, matrix, colour and blend mode.
#pragma once

#include "core/object.h"
#include "core/text.h"
#include "gfx/image.h"

#include <cstdint>
#include <vector>

namespace vantrel {

class TPixmap;

class TImageGlyph final : public TObject {
public:
    TImageGlyph(Ref<TImage> picture, float advance, int32_t x, int32_t y, int32_t width,
                int32_t height);
    ~TImageGlyph() override;
    Ref<TImage> image() const { return image_; }
    float advance() const { return advance_; }
    void get_rect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const;

private:
    Ref<TImage> image_;
    float advance_;
    int32_t x_, y_, width_, height_;
};

// Where a glyph font gets pictures and metrics it has not made yet.
class TFontSource : public TObject {
public:
    virtual int32_t style() = 0;
    virtual int32_t height() = 0;
    virtual int32_t char_to_glyph(int32_t code) = 0; // -1 when none
    // The glyph's picture (null for a blank one), box and advance.
    virtual Ref<TPixmap> glyph_pixmap(int32_t index, int32_t& x, int32_t& y, int32_t& width,
                                      int32_t& height, float& advance) = 0;
    // A source that lays out whole runs itself (pairs of code units,
    // kerning) draws and measures them here; false leaves the run to the
    // glyph font, glyph by glyph.
    virtual bool draw_run(const Text& text, float x, float y, float ix, float iy, float jx,
                          float jy);
    virtual bool measure_run(const Text& text, int32_t& width);
};

class TGlyphFont final : public TObject {
public:
    TGlyphFont(Ref<TFontSource> source, int32_t glyph_count, int32_t glyph_flags);

    int32_t style();
    int32_t height();
    int32_t glyph_count() const { return static_cast<int32_t>(glyphs_.size()); }
    int32_t char_to_glyph(int32_t code);
    Ref<TImageGlyph> load_glyph(int32_t index);
    void set_glyph(int32_t index, Ref<TImageGlyph> glyph);
    // Draws text with the pen at (x, y), each glyph turned by the matrix.
    void draw(const Text& text, float x, float y, float ix, float iy, float jx, float jy);
    // The text's width in pixels.
    int32_t measure(const Text& text);

private:
    Ref<TFontSource> source_;
    std::vector<Ref<TImageGlyph>> glyphs_;
    int32_t glyph_flags_;
};

constexpr int32_t DEFAULT_FONT_BYTES = 1536;

// The built-in font, made from the registered "tarnfont.bin".
Ref<TGlyphFont> create_default_font();
// The process's one built-in font, made on first use and kept.
Ref<TGlyphFont> default_font();
bool default_font_exists();

void draw_text(const Text& text, float x, float y);
int32_t measure_text_width(const Text& text);
int32_t measure_text_height();

} // namespace vantrel
