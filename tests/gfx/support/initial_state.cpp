// reset_drawing_state: the 2-D layer's setters with the initial values.
#include "initial_state.h"

#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"

namespace vantrel::test {

void reset_drawing_state(int32_t width, int32_t height)
{
    set_blend_mode(BLEND_MASK);
    set_colour(255, 255, 255);
    set_clear_colour(0, 0, 0);
    set_mask_colour(0, 0, 0);
    set_alpha(1.0f);
    set_origin(0, 0);
    set_handle(0, 0);
    set_viewport(0, 0, width, height);
    set_transform(0, 1, 1);
    set_line_width(1.0f);
    set_auto_centre_handle(0);
    set_default_image_flags(IMAGE_MASKED | IMAGE_FILTERED);
    select_font(nullptr);
    clear_screen();
}

} // namespace vantrel::test
