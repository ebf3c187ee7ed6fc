// TGles2TextureFrame: an image frame held as an ES texture.
//
// Made as the first renderer makes its textures: in the shared context, in
// the smallest power-of-two size the implementation takes, the picture's
// last column and row repeated beyond it, mipmap levels halved on the
// processor. So both renderers sample the same texels.
#pragma once

#include "gfx/image.h"

#include <cstdint>

namespace vantrel {

class TPixmap;

class TGles2TextureFrame final : public TImageFrame {
public:
    float uv[4] = {0, 0, 0, 0}; // left, top, right, bottom
    uint32_t texture = 0;
    int32_t seq = 0; // graphics_seq when made; 0 once the texture is gone
    uint32_t group = 0; // the display driver's texture_group when made

    ~TGles2TextureFrame() override;

    void draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

    // Needs a current context; the renderer calls it in the shared one.
    static Ref<TGles2TextureFrame> create_from_pixmap(const Ref<TPixmap>& pixmap, int32_t flags);
};

// A texture of the pixmap at its own size, sampled nearest, for one blit;
// the caller deletes it.
uint32_t upload_picture(const Ref<TPixmap>& pixmap);

} // namespace vantrel
