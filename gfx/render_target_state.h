// Where drawing goes while an offscreen image is the target, and the window
// state to put back when it stops (gfx/render_image.h).
#pragma once

#include "core/object.h"
#include "gfx/font.h"
#include "gfx/image.h"

#include <cstdint>

namespace vantrel {

// The fields of a TGraphics2D that drawing into an image may change, named
// as there.
struct DrawingStateCopy {
    int32_t colour_red = 0, colour_green = 0, colour_blue = 0;
    float alpha = 0;
    int32_t clear_red = 0, clear_green = 0, clear_blue = 0;
    float line_width = 0;
    float rotation = 0, scale_x = 0, scale_y = 0;
    float ix = 0, iy = 0, jx = 0, jy = 0;
    int32_t viewport_x = 0, viewport_y = 0, viewport_width = 0, viewport_height = 0;
    float origin_x = 0, origin_y = 0;
    float handle_x = 0, handle_y = 0;
    Ref<TGlyphFont> image_font;
    int32_t blend_mode = 0;
};

struct RenderTargetState {
    Ref<TImage> image; // null: the window
    DrawingStateCopy window_state;
    int32_t window_width = 0, window_height = 0;
};

// Goes back to the window, its state as it was; nothing when drawing there.
void end_render_target();

} // namespace vantrel
