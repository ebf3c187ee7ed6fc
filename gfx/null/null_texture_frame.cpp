// TNullTextureFrame: a texture in name only.
#include "gfx/null/null_texture_frame.h"

#include "gfx/null/null_render_driver.h"

namespace vantrel {

TNullTextureFrame::TNullTextureFrame(uint32_t texture_name, int32_t picture_width,
                                     int32_t picture_height)
    : texture(texture_name), width(picture_width), height(picture_height)
{
}

TNullTextureFrame::~TNullTextureFrame() { null_render_driver()->delete_texture(texture); }

void TNullTextureFrame::draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    null_render_driver()->draw_texture(texture, x0, y0, x1, y1, tx, ty);
}

} // namespace vantrel
