// TNullRenderFrame, and the null renderer's switch between the window and
// offscreen images.
#include "gfx/null/null_render_frame.h"

#include "core/error.h"
#include "gfx/graphics.h"
#include "gfx/null/null_render_driver.h"

#include <string>

namespace vantrel {

TNullRenderFrame::TNullRenderFrame(uint32_t texture_name, int32_t frame_width, int32_t frame_height)
    : texture(texture_name), width(frame_width), height(frame_height)
{
}

TNullRenderFrame::~TNullRenderFrame() { null_render_driver()->delete_texture(texture); }

void TNullRenderFrame::draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    if (null_render_driver()->render_frame().get() == this)
        raise_error(u"An offscreen image cannot be drawn into itself");
    null_render_driver()->draw_texture(texture, x0, y0, x1, y1, tx, ty);
}

Ref<TImageFrame> NullRenderDriver::create_render_frame(int32_t width, int32_t height, int32_t flags)
{
    if (width > NULL_LARGEST_RENDER_SIDE || height > NULL_LARGEST_RENDER_SIDE) {
        const auto side = std::to_string(NULL_LARGEST_RENDER_SIDE);
        set_graphics_error(Text::from_bytes("An offscreen image of " + std::to_string(width) +
                                            " x " + std::to_string(height) +
                                            " is larger than the null renderer's " + side +
                                            " x " + side));
        return nullptr;
    }
    return make_ref<TNullRenderFrame>(new_texture(width, height, flags), width, height);
}

void NullRenderDriver::set_render_frame(const Ref<TImageFrame>& frame)
{
    const Ref<TNullRenderFrame> next = ref_cast<TNullRenderFrame>(frame);
    if (frame && !next)
        raise_error(u"The frame is not an offscreen image of the Null renderer");
    target_ = next;
    NullCall c = entry(NullOp::RenderTarget);
    c.texture = next ? next->texture : 0;
    c.ints[0] = next ? next->width : screen_width();
    c.ints[1] = next ? next->height : screen_height();
    log_.add(std::move(c));
}

} // namespace vantrel
