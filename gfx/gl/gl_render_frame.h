// GLRenderFrame: an offscreen image's frame on the desktop renderer, a
// texture that a framebuffer object draws into.
//
// The texture is made in the shared context, like every image's, so it and
// its picture outlive windows. A framebuffer object belongs to one context:
// the frame makes one in whichever context draws into it, again after a new
// open_graphics. OpenGL's rows go upwards, so the texture holds the picture
// upside down and the frame samples it that way round.
#pragma once

#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/image.h"

#include <cstdint>
#include <string>

namespace vantrel {

class GLRenderFrame final : public TImageFrame {
public:
    int32_t width = 0, height = 0;
    Ref<TGLTextureFrame> picture; // owns the texture
    uint32_t framebuffer = 0;
    Ref<GLContextRecord> owner; // the context the framebuffer was made in

    ~GLRenderFrame() override;

    void draw(float x0, float y0, float x1, float y1, float tx, float ty) override;
    bool is_render_target() const override { return true; }

    // Binds the framebuffer in the current context, made first when this
    // context has none of it; false with the reason when it is incomplete.
    bool bind(std::string& reason);
};

} // namespace vantrel
