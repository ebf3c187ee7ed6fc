// Collision tests between images, rectangles and points, read from the
// images' pixmaps: no renderer and no window are needed.
//
// An image is placed as draw_image would draw it: its handle on the drawing
// position, then turned (degrees, clockwise on screen) and scaled about that
// position. Two shapes collide when one screen pixel would be covered by a
// drawn pixel of both: sampled at pixel centres, as the renderer fills them.
// A pixel is drawn when its alpha is not 0; in a pixmap without alpha every
// pixel is drawn, except, in an IMAGE_MASKED image, those of its mask colour.
// A frame without a pixmap, an index outside the frames and a scale of 0
// draw nothing and collide with nothing.
#pragma once

#include "core/object.h"

#include <cstdint>

namespace vantrel {

class TImage;

struct ImagePlacement {
    float x = 0, y = 0; // the drawing position
    int32_t frame = 0;
    float rotation = 0; // degrees
    float scale_x = 1, scale_y = 1;
};

bool images_collide(const Ref<TImage>& a, const ImagePlacement& at_a, const Ref<TImage>& b,
                    const ImagePlacement& at_b);
// The rectangle covers the pixel centres from (x, y) up to, but not
// including, (x + width, y + height); negative sizes extend to the left or up.
bool image_rect_collide(const Ref<TImage>& image, const ImagePlacement& at, float x, float y,
                        float width, float height);
// The point is exact: it collides with the drawn pixel it lies in.
bool image_point_collide(const Ref<TImage>& image, const ImagePlacement& at, float x, float y);

} // namespace vantrel
