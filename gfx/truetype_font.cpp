// TrueType and OpenType fonts through FreeType: a TFontSource that lays
// out whole runs (surrogate pairs, kerning) from glyphs cached in an atlas.
#include "gfx/truetype.h"

#include "assets/pixmap.h"
#include "gfx/glyph_atlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

namespace vantrel {
namespace {

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;
using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

constexpr char32_t REPLACEMENT = 0xFFFD;

float from_26_6(FT_Pos value) { return static_cast<float>(value) / 64.0f; }

// A glyph's picture may reach past its em square (accents, swashes), but a
// hostile outline can claim thousands of pixels a side, whose bitmap would
// cost hundreds of megabytes and seconds to fill: beyond this many ems a
// side the glyph is refused.
constexpr FT_Pos GLYPH_MAX_EMS = 4;

// The code point starting at units[i]; i moves past it. A lone surrogate
// reads as the replacement character.
char32_t next_code_point(std::u16string_view units, size_t& i)
{
    const char16_t first = units[i++];
    if (first < 0xD800 || first > 0xDFFF)
        return first;
    if (first <= 0xDBFF && i < units.size() && units[i] >= 0xDC00 && units[i] <= 0xDFFF)
        return 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (units[i++] - 0xDC00);
    return REPLACEMENT;
}

struct CachedGlyph {
    AtlasSlot slot;
    float left = 0, top = 0; // the picture's offset from the pen, y down from the line top
    float advance = 0;
};

class TTrueTypeSource final : public TFontSource {
public:
    TTrueTypeSource(std::vector<uint8_t> bytes, Library library, Face face, int32_t pixel_size)
        : bytes_(std::move(bytes)), library_(std::move(library)), face_(std::move(face)),
          atlas_(pixel_size > 96 ? 1024 : 256), largest_side_(GLYPH_MAX_EMS * pixel_size * 64)
    {
        const FT_Size_Metrics& m = face_->size->metrics;
        ascender_ = std::ceil(from_26_6(m.ascender));
        height_ = static_cast<int32_t>(std::ceil(from_26_6(m.ascender - m.descender)));
        if (height_ < 1)
            height_ = pixel_size;
    }

    int32_t style() override { return static_cast<int32_t>(face_->style_flags & 3); }
    int32_t height() override { return height_; }
    int32_t char_to_glyph(int32_t code) override
    {
        if (code < 32)
            return -1;
        return static_cast<int32_t>(FT_Get_Char_Index(face_.get(), static_cast<FT_ULong>(code)));
    }
    Ref<TPixmap> glyph_pixmap(int32_t index, int32_t& x, int32_t& y, int32_t& width,
                              int32_t& height, float& advance) override;
    bool draw_run(const Text& text, float x, float y, float ix, float iy, float jx,
                  float jy) override;
    bool measure_run(const Text& text, int32_t& width) override;

    int32_t glyph_total() const { return static_cast<int32_t>(face_->num_glyphs); }

private:
    // Renders the glyph; false (and nothing in the slot) when the font fails.
    bool render(uint32_t index);
    const CachedGlyph& cached(uint32_t index);
    float kerning(uint32_t left, uint32_t right) const;
    // Every glyph of the text with the pen's x after it.
    template <class Visit>
    float walk(const Text& text, Visit visit);

    std::vector<uint8_t> bytes_; // FreeType reads the face from here
    Library library_;
    Face face_;
    GlyphAtlas atlas_;
    std::unordered_map<uint32_t, CachedGlyph> cache_;
    float ascender_ = 0;
    int32_t height_ = 0;
    FT_Pos largest_side_; // in 26.6 pixels
};

bool TTrueTypeSource::render(uint32_t index)
{
    if (FT_Load_Glyph(face_.get(), index, FT_LOAD_DEFAULT) != 0)
        return false;
    const FT_GlyphSlot slot = face_->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_BBox box{};
        FT_Outline_Get_CBox(&slot->outline, &box);
        if (box.xMax - box.xMin > largest_side_ || box.yMax - box.yMin > largest_side_)
            return false;
    }
    return FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
           slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
}

const CachedGlyph& TTrueTypeSource::cached(uint32_t index)
{
    if (auto found = cache_.find(index); found != cache_.end())
        return found->second;
    CachedGlyph glyph;
    if (render(index)) {
        const FT_GlyphSlot slot = face_->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.slot = atlas_.add(bitmap.buffer, static_cast<int32_t>(bitmap.width),
                                static_cast<int32_t>(bitmap.rows), bitmap.pitch);
        glyph.left = static_cast<float>(slot->bitmap_left);
        glyph.top = ascender_ - static_cast<float>(slot->bitmap_top);
        glyph.advance = std::max(from_26_6(slot->advance.x), 0.0f); // never backwards
    }
    return cache_.emplace(index, glyph).first->second;
}

float TTrueTypeSource::kerning(uint32_t left, uint32_t right) const
{
    FT_Vector delta{};
    if (!FT_HAS_KERNING(face_.get()) ||
        FT_Get_Kerning(face_.get(), left, right, FT_KERNING_DEFAULT, &delta) != 0)
        return 0;
    return from_26_6(delta.x);
}

template <class Visit>
float TTrueTypeSource::walk(const Text& text, Visit visit)
{
    const std::u16string_view units = text.view();
    float pen = 0;
    bool have_previous = false;
    uint32_t previous = 0;
    for (size_t i = 0; i < units.size();) {
        const char32_t code = next_code_point(units, i);
        if (code < 32) {
            have_previous = false;
            continue;
        }
        const auto index = FT_Get_Char_Index(face_.get(), code);
        if (have_previous)
            pen += kerning(previous, index);
        const CachedGlyph& glyph = cached(index);
        visit(glyph, pen);
        pen += glyph.advance;
        previous = index;
        have_previous = true;
    }
    return pen;
}

bool TTrueTypeSource::draw_run(const Text& text, float x, float y, float ix, float iy, float jx,
                               float jy)
{
    std::vector<PlacedGlyph> placed;
    walk(text, [&](const CachedGlyph& glyph, float pen) {
        if (glyph.slot.page >= 0)
            placed.push_back({glyph.slot, std::trunc(pen + glyph.left), glyph.top});
    });
    atlas_.draw(placed, x, y, ix, iy, jx, jy);
    return true;
}

bool TTrueTypeSource::measure_run(const Text& text, int32_t& width)
{
    // Kerning of a hostile font could otherwise make a line narrower than none.
    width = static_cast<int32_t>(std::max(walk(text, [](const CachedGlyph&, float) {}), 0.0f));
    return true;
}

Ref<TPixmap> TTrueTypeSource::glyph_pixmap(int32_t index, int32_t& x, int32_t& y, int32_t& width,
                                           int32_t& height, float& advance)
{
    x = y = width = height = 0;
    advance = 0;
    if (index < 0 || !render(static_cast<uint32_t>(index)))
        return nullptr;
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    x = slot->bitmap_left;
    y = static_cast<int32_t>(ascender_) - slot->bitmap_top;
    width = static_cast<int32_t>(bitmap.width);
    height = static_cast<int32_t>(bitmap.rows);
    advance = from_26_6(slot->advance.x);
    if (width == 0 || height == 0)
        return nullptr;
    auto pixmap = new_pixmap(width, height, FORMAT_RGBA32, 4);
    for (int32_t row = 0; row < height; ++row)
        for (int32_t col = 0; col < width; ++col) {
            const uint32_t a = bitmap.buffer[row * bitmap.pitch + col];
            pixmap->put_pixel(col, row, (a << 24) | 0xFFFFFFu);
        }
    return pixmap;
}

// A font whose outlines fail to load is broken or cut short: the missing
// glyph and the printable ASCII ones must all load.
bool glyphs_load(FT_Face face)
{
    if (FT_Load_Glyph(face, 0, FT_LOAD_DEFAULT) != 0)
        return false;
    for (FT_ULong code = 32; code < 127; ++code)
        if (const FT_UInt index = FT_Get_Char_Index(face, code);
            index != 0 && FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0)
            return false;
    return true;
}

} // namespace

Ref<TGlyphFont> load_font_from_memory(const uint8_t* data, size_t size, int32_t pixel_size)
{
    if (!data || size == 0 || size > static_cast<size_t>(FONT_MAX_FILE_BYTES) ||
        pixel_size < 1 || pixel_size > FONT_MAX_PIXEL_SIZE)
        return nullptr;
    std::vector<uint8_t> bytes(data, data + size);
    FT_Library raw_library = nullptr;
    if (FT_Init_FreeType(&raw_library) != 0)
        return nullptr;
    Library library(raw_library);
    FT_Face raw_face = nullptr;
    if (FT_New_Memory_Face(library.get(), bytes.data(), static_cast<FT_Long>(bytes.size()), 0,
                           &raw_face) != 0)
        return nullptr;
    Face face(raw_face);
    if (face->num_glyphs < 1 || !FT_IS_SCALABLE(face.get()) ||
        FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(pixel_size)) != 0 ||
        !glyphs_load(face.get()))
        return nullptr;
    auto source = make_ref<TTrueTypeSource>(std::move(bytes), std::move(library), std::move(face),
                                            pixel_size);
    const int32_t glyphs = source->glyph_total();
    return make_ref<TGlyphFont>(source, glyphs, 0);
}

} // namespace vantrel
