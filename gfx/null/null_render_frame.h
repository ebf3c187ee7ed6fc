// An offscreen image's frame on the null renderer: a numbered texture of
// the image's own size, recorded like the null textures, that the renderer
// records being made the drawing target (NullOp::RenderTarget). Its
// read-back is blank, as the window's is.
#pragma once

#include "gfx/image.h"

#include <cstdint>

namespace vantrel {

// The largest side the null renderer draws into, as llvmpipe's textures.
constexpr int32_t NULL_LARGEST_RENDER_SIDE = 16384;

class TNullRenderFrame final : public TImageFrame {
public:
    TNullRenderFrame(uint32_t texture_name, int32_t frame_width, int32_t frame_height);
    ~TNullRenderFrame() override;

    void draw(float x0, float y0, float x1, float y1, float tx, float ty) override;
    bool is_render_target() const override { return true; }

    uint32_t texture = 0;
    int32_t width = 0, height = 0;
};

} // namespace vantrel
