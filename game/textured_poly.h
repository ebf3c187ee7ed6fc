// Textured polygons: vertex arrays with colours and texture coordinates
// handed to the current renderer's textured primitives
// (gfx/render_driver.h), for shapes the 2-D layer has no primitive for (the
// bird's wing quads).
//
// A vertex is nine floats: x, y, z, nx, ny, nz, a packed colour (its bits,
// not its value: alpha in the top byte, then red, green, blue), u, v. Draws
// between textured_poly_begin and textured_poly_end that use the same image
// frame continue one open primitive. Textures are switched through the
// renderer, so its record of what is bound and enabled stays true for the
// drawing that follows.
#pragma once

#include "core/object.h"

#include <cstdint>
#include <span>

namespace vantrel {

class TImage;

constexpr int32_t TEXTURED_POLY_FLOATS_PER_VERTEX = 9;
constexpr int32_t TEXTURED_POLY_POLYGON = 6; // any other mode: triangle strip

// The colour slot's float for a packed colour, and back.
float pack_vertex_colour(int32_t red, int32_t green, int32_t blue, int32_t alpha);
uint32_t vertex_colour_bits(float slot);

// Once, before the first frame: notes the renderer and sets the renderer state
// the vertex colours rely on.
void textured_poly_init();

void textured_poly_begin();
// Ignores an array of fewer than 6 floats or an odd count, and any
// incomplete vertex at its end. close 1 ends the primitive after these
// vertices. Returns 0.
int32_t textured_poly_draw(const Ref<TImage>& image, int32_t frame,
                           std::span<const float> vertices, int32_t mode, int32_t close);
void textured_poly_select(const Ref<TImage>& image, int32_t frame, int32_t mode, int32_t close);
void textured_poly_end();

} // namespace vantrel
