// What covers each pixel of a frame, worked out from the renderer calls that
// drew it (the null log, as a recording renderer keeps it): the kind of the
// topmost shape over the pixel and a mask of every kind drawn over it. When
// two renderers' frames of one pass differ, this names the primitives where
// they do.
//
// Coverage is generous: a pixel counts as covered when its square touches
// the shape (lines with their width), since that is where rasterisers
// disagree; points cover their one pixel.
#pragma once

#include "gfx/null/null_draw_log.h"

#include <array>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

namespace vantrel::test {

// The game's primitives as the renderer sees them. The images are told
// apart by their texture's width: the island's picture is 512 wide, the
// cloud glow's 256.
enum class CoverKind : uint8_t {
    Island,     // textured quad, texture 512 or more wide
    Clouds,     // textured quads of narrower textures
    Points,     // specks and the eye
    ThinLines,  // one pixel wide
    WideLines,  // wider: quads swept along the line
    Ovals,      // untextured polygons: the body and the head
    Rects,      // untextured quads: the wind bar
    Wings,      // textured polygons of the textured-polygon facility
};
inline constexpr int COVER_KINDS = 8;
// Names for the kinds, in order.
extern const std::array<std::string_view, COVER_KINDS> COVER_KIND_NAMES;

class FrameCover {
public:
    FrameCover(int32_t width, int32_t height);

    // Takes the calls in order; a clear starts a new frame. Texture sizes
    // and the line width carry over from call to call, as in a renderer.
    void add(const NullCall& call);
    // Off, shapes change nothing (passes nobody looks at cost no time);
    // the state still carries over.
    void set_covering(bool on) { covering_ = on; }

    // Per pixel, top row first: the topmost kind plus one (0: only the
    // clear), and the bit 1 << kind of every kind drawn over it.
    const std::vector<uint8_t>& top() const { return top_; }
    const std::vector<uint8_t>& mask() const { return mask_; }

private:
    struct Point {
        float x, y;
    };
    void cover(int32_t x, int32_t y, CoverKind kind);
    void cover_triangle(Point a, Point b, Point c, CoverKind kind);
    void cover_segment(Point a, Point b, float width, CoverKind kind);
    void cover_fan(const std::vector<NullVertex>& v, bool strip, CoverKind kind);
    void shape(const NullCall& call);
    CoverKind image_kind(uint32_t texture) const;

    int32_t width_, height_;
    std::vector<uint8_t> top_, mask_;
    float line_width_ = 1;
    std::map<uint32_t, int32_t> texture_width_;
    std::vector<NullVertex> textured_;
    bool textured_strip_ = false;
    bool covering_ = true;
};

} // namespace vantrel::test
