#include "gfx/gl/gl_texture_picture.h"

#include "gfx/gl/gl_texture_frame.h"

#include <GL/gl.h>

namespace vantrel {

TextureFilters texture_filters(int32_t flags)
{
    const bool mip = (flags & IMAGE_MIPMAPPED) != 0;
    if (flags & IMAGE_FILTERED)
        return {GL_LINEAR, mip ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR};
    return {GL_NEAREST, mip ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST};
}

TexturePicture texture_picture(const Ref<TPixmap>& pixmap, TextureFit fit)
{
    TexturePicture t;
    fit(pixmap->width, pixmap->height, t.texture_width, t.texture_height);
    t.width = std::min(pixmap->width, t.texture_width);
    t.height = std::min(pixmap->height, t.texture_height);
    Ref<TPixmap> p = pixmap;
    if (p->width > t.width || p->height > t.height)
        p = scale_pixmap(p, t.width, t.height);
    const bool smaller = t.width < t.texture_width || t.height < t.texture_height;
    t.texels = smaller ? extend_to_texture(p, t.texture_width, t.texture_height) : as_rgba(p);
    return t;
}

} // namespace vantrel
