#include "gfx/glyph_atlas.h"

#include "assets/pixmap.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"

#include <algorithm>
#include <array>

namespace vantrel {
namespace {

constexpr int32_t GAP = 1; // keeps filtered neighbours apart

uint8_t channel(float value)
{
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f));
}

struct Corner {
    float x, y, u, v;
};

} // namespace

GlyphAtlas::GlyphAtlas(int32_t page_side) : side_(page_side) {}

AtlasSlot GlyphAtlas::add(const uint8_t* coverage, int32_t width, int32_t height, int32_t pitch)
{
    if (width <= 0 || height <= 0 || width > side_ || height > side_)
        return {};
    if (shelf_x_ + width > side_) {
        shelf_x_ = 0;
        shelf_y_ += shelf_height_ + GAP;
        shelf_height_ = 0;
    }
    if (pages_.empty() || shelf_y_ + height > side_) {
        pages_.push_back(TImage::create(side_, side_, 1, 0, 0, 0, 0));
        shelf_x_ = shelf_y_ = shelf_height_ = 0;
    }
    const int32_t page = page_count() - 1;
    Ref<TPixmap> pixels = pages_.back()->lock(0, 0, 1);
    for (int32_t row = 0; row < height; ++row)
        for (int32_t col = 0; col < width; ++col) {
            const uint32_t a = coverage[static_cast<size_t>(row) * static_cast<size_t>(pitch) +
                                        static_cast<size_t>(col)];
            pixels->put_pixel(shelf_x_ + col, shelf_y_ + row, (a << 24) | 0xFFFFFFu);
        }
    const AtlasSlot slot{page, shelf_x_, shelf_y_, width, height};
    shelf_x_ += width + GAP;
    shelf_height_ = std::max(shelf_height_, height);
    return slot;
}

void GlyphAtlas::draw(const std::vector<PlacedGlyph>& glyphs, float x, float y, float ix,
                      float iy, float jx, float jy) const
{
    Ref<TRenderDriver> renderer = current_renderer();
    Ref<TGraphics2D> g = current_graphics2d();
    TexturedVertex vertex;
    vertex.rgba[0] = channel(static_cast<float>(g->colour_red));
    vertex.rgba[1] = channel(static_cast<float>(g->colour_green));
    vertex.rgba[2] = channel(static_cast<float>(g->colour_blue));
    vertex.rgba[3] = channel(g->alpha * 255.0f);
    vertex.nz = 1;
    const float scale = 1.0f / static_cast<float>(side_);
    auto emit = [&](const Corner& c) {
        vertex.x = x + c.x * ix + c.y * iy;
        vertex.y = y + c.x * jx + c.y * jy;
        vertex.u = c.u;
        vertex.v = c.v;
        renderer->textured_vertex(vertex);
    };
    bool drew = false;
    for (int32_t page = 0; page < page_count(); ++page) {
        bool open = false;
        for (const PlacedGlyph& glyph : glyphs) {
            const AtlasSlot& s = glyph.slot;
            if (s.page != page)
                continue;
            const float x1 = glyph.x + static_cast<float>(s.width);
            const float y1 = glyph.y + static_cast<float>(s.height);
            const float u0 = static_cast<float>(s.x) * scale, v0 = static_cast<float>(s.y) * scale;
            const float u1 = static_cast<float>(s.x + s.width) * scale;
            const float v1 = static_cast<float>(s.y + s.height) * scale;
            const std::array<Corner, 4> quad{Corner{glyph.x, glyph.y, u0, v0},
                                             Corner{glyph.x, y1, u0, v1},
                                             Corner{x1, glyph.y, u1, v0}, Corner{x1, y1, u1, v1}};
            if (!open) {
                renderer->bind_textured_frame(pages_[static_cast<size_t>(page)]->frame(0));
                renderer->begin_textured(TexturedPrimitive::TriangleStrip);
                open = true;
            } else {
                emit(quad[0]); // a degenerate join to the previous quad
            }
            for (const Corner& c : quad)
                emit(c);
            emit(quad[3]);
        }
        if (open)
            renderer->end_textured();
        drew = drew || open;
    }
    // The vertices left their colour as the renderer's current one.
    if (drew) {
        renderer->set_colour(g->colour_red, g->colour_green, g->colour_blue);
        renderer->set_alpha(g->alpha);
    }
}

} // namespace vantrel
