// Gles2RenderFrame: an offscreen image's frame on the ES 2.0 renderer, a
// texture that a framebuffer object draws into; made and kept as the
// desktop renderer's (gfx/gl/gl_render_frame.h): the texture in the shared
// context, a framebuffer in each context that draws into it, the picture
// upside down in the texture as ES's rows go upwards.
#pragma once

#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gles2/gles2_texture_frame.h"
#include "gfx/image.h"

#include <cstdint>
#include <string>

namespace vantrel {

class Gles2RenderFrame final : public TImageFrame {
public:
    int32_t width = 0, height = 0;
    Ref<TGles2TextureFrame> picture; // owns the texture
    uint32_t framebuffer = 0;
    Ref<GLContextRecord> owner;

    ~Gles2RenderFrame() override;

    void draw(float x0, float y0, float x1, float y1, float tx, float ty) override;
    bool is_render_target() const override { return true; }

    // Binds the framebuffer in the current context, made first when this
    // context has none of it; false with the reason when it is incomplete.
    bool bind(std::string& reason);
};

// Framebuffer objects are core in ES 2.0; false with the reason when the
// context gives no entry points for them.
bool gles2_framebuffers_available(std::string& reason);
void gles2_bind_framebuffer(uint32_t framebuffer); // 0: the window's

} // namespace vantrel
