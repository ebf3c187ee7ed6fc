// Glyph pictures packed into square texture pages, and runs of them drawn
// with one textured primitive per page.
//
// Pages are images of their own, so their textures follow the image rules:
// made on first draw, remade after a new graphics, uploaded again after a
// glyph was added. Main thread only.
#pragma once

#include "core/object.h"
#include "gfx/image.h"

#include <cstdint>
#include <vector>

namespace vantrel {

// Where a glyph's picture sits: the page and its pixel rectangle.
struct AtlasSlot {
    int32_t page = -1; // -1: the glyph has no picture
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// One glyph of a laid-out run: its slot and its picture's top-left corner
// relative to the run's pen origin, in unscaled pixels.
struct PlacedGlyph {
    AtlasSlot slot;
    float x = 0, y = 0;
};

class GlyphAtlas {
public:
    explicit GlyphAtlas(int32_t page_side);

    int32_t page_side() const { return side_; }
    int32_t page_count() const { return static_cast<int32_t>(pages_.size()); }
    const Ref<TImage>& page(int32_t index) const { return pages_[static_cast<size_t>(index)]; }

    // Copies a coverage bitmap (one byte a pixel, pitch bytes a row) in as
    // white with that alpha. A bitmap larger than a page gets no slot.
    AtlasSlot add(const uint8_t* coverage, int32_t width, int32_t height, int32_t pitch);

    // Draws the glyphs with the pen at (x, y), each corner turned by the
    // matrix, in the state's colour and alpha: one primitive per page used.
    void draw(const std::vector<PlacedGlyph>& glyphs, float x, float y, float ix, float iy,
              float jx, float jy) const;

private:
    int32_t side_;
    std::vector<Ref<TImage>> pages_;
    int32_t shelf_x_ = 0, shelf_y_ = 0, shelf_height_ = 0;
};

} // namespace vantrel
