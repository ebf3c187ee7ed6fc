// Drawing primitives: clearing, points, lines, rectangles, ellipses,
// polygons and images, placed by the current drawing state.
//
// The origin moves the drawing position; the (negated) handle offsets the
// shape from it; the renderer's matrix turns and scales the shape about the
// drawing position. Points ignore handle and matrix. Images use their own
// handle instead of the state's. All need open graphics.
#pragma once

#include <cstdint>
#include <span>

namespace vantrel {

class TImage;
template <class T> class Ref;

void clear_screen();
void plot_point(float x, float y);
// last != 0 also lights the end point, which the line rule leaves out.
void draw_line(float x1, float y1, float x2, float y2, int32_t last);
void draw_rect(float x, float y, float width, float height);
void draw_oval(float x, float y, float width, float height);
// coordinates: x, y pairs relative to (x, y); fewer than 3 points draw nothing.
void draw_poly(std::span<const float> coordinates, float x, float y);
void draw_image(const Ref<TImage>& image, float x, float y, int32_t frame);

} // namespace vantrel
