// TGLTextureFrame: an image frame held as an OpenGL texture.
//
// Textures are made and deleted in the shared context, so they outlive the
// windows that draw them. A picture goes into the smallest power-of-two
// texture OpenGL accepts (shrunk when too large); any texels beyond the
// picture repeat its last column and row, so linear filtering and mipmaps
// at the border never pick up stray data.
#pragma once

#include "gfx/image.h"

#include <cstdint>

namespace vantrel {

class TPixmap;

class TGLTextureFrame final : public TImageFrame {
public:
    float u_left = 0, v_top = 0, u_right = 0, v_bottom = 0;
    uint32_t texture = 0;
    int32_t seq = 0; // graphics_seq when made; 0 once the texture is gone
    uint32_t group = 0; // the display driver's texture_group when made

    TGLTextureFrame();
    ~TGLTextureFrame() override;

    void draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

    // Needs a current context; the renderer calls it in the shared one.
    static Ref<TGLTextureFrame> create_from_pixmap(const Ref<TPixmap>& pixmap, int32_t flags);
};

// The power-of-two size at most OpenGL will take for a w x h picture; raises
// "Unable to calculate tex size" when even 1 x 1 is refused.
void fit_texture_size(int32_t w, int32_t h, int32_t& tw, int32_t& th);

// The smallest power of two at least v (at most 2^30), a texture's side.
int32_t power_of_two_at_least(int32_t v);

// The pixmap itself when it is RGBA32, otherwise an RGBA32 copy: what both
// renderers upload.
Ref<TPixmap> as_rgba(const Ref<TPixmap>& p);

// The picture placed at (0, 0) of a tw x th RGBA pixmap, its last column
// and row repeated over the rest. The picture must fit.
Ref<TPixmap> extend_to_texture(const Ref<TPixmap>& picture, int32_t tw, int32_t th);

// Names a new texture of w x h (all mipmap levels when asked), with the
// filters for flags; leaves it bound.
uint32_t create_texture(int32_t w, int32_t h, int32_t flags);
// Writes t to level 0 of the bound texture, and its halvings to the next
// levels when flags ask for mipmaps.
void upload_texture(const Ref<TPixmap>& t, int32_t flags);

} // namespace vantrel
