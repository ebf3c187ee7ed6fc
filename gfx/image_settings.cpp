// The process-wide image-loading settings and the handle helpers.
#include "gfx/image.h"

#include "gfx/gfx_state.h"

namespace vantrel {

void set_mask_colour(int32_t red, int32_t green, int32_t blue)
{
    GfxState& s = gfx_state();
    s.mask_red = red;
    s.mask_green = green;
    s.mask_blue = blue;
}

void get_mask_colour(int32_t& red, int32_t& green, int32_t& blue)
{
    const GfxState& s = gfx_state();
    red = s.mask_red;
    green = s.mask_green;
    blue = s.mask_blue;
}

void set_auto_centre_handle(int32_t on) { gfx_state().auto_centre = on; }
int32_t get_auto_centre_handle() { return gfx_state().auto_centre; }

void set_default_image_flags(int32_t flags)
{
    if (flags != -1)
        gfx_state().auto_flags = flags;
}

int32_t get_default_image_flags() { return gfx_state().auto_flags; }

void set_image_handle(const Ref<TImage>& image, float x, float y)
{
    image->handle_x = x;
    image->handle_y = y;
}

void centre_image_handle(const Ref<TImage>& image)
{
    image->handle_x = static_cast<float>(image->width) * 0.5f;
    image->handle_y = static_cast<float>(image->height) * 0.5f;
}

int32_t image_width(const Ref<TImage>& image) { return image->width; }
int32_t image_height(const Ref<TImage>& image) { return image->height; }

} // namespace vantrel
