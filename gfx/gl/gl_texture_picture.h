// What both renderers put into a texture, and the mipmap levels below it:
// one rule for fitting, shrinking and edge extension, so the two renderers'
// textures hold the same texels.
#pragma once

#include "assets/pixmap.h"
#include "assets/pixmap_ops.h"

#include <algorithm>
#include <cstdint>

namespace vantrel {

struct TexturePicture {
    Ref<TPixmap> texels; // RGBA32, texture_width x texture_height
    int32_t width = 0, height = 0; // the corner the picture covers, from (0, 0)
    int32_t texture_width = 0, texture_height = 0;
};

// The magnification and minification filters for image flags (filtered,
// mipmapped), as the texture parameters take them.
struct TextureFilters {
    int32_t mag = 0, min = 0;
};
TextureFilters texture_filters(int32_t flags);

// The power-of-two size a context takes for a w x h picture (raises when
// none fits).
using TextureFit = void (*)(int32_t w, int32_t h, int32_t& tw, int32_t& th);

// The picture in the smallest texture fit allows: shrunk when the texture
// is smaller, its last column and row repeated over the rest when larger.
TexturePicture texture_picture(const Ref<TPixmap>& pixmap, TextureFit fit);

// upload(level, i) for each mipmap level below base, i from 1: each the
// previous one halved, down to 1 x 1.
template <class Upload>
void for_each_smaller_level(const Ref<TPixmap>& base, Upload upload)
{
    Ref<TPixmap> level = base;
    for (int32_t i = 1; level->width > 1 || level->height > 1; ++i) {
        level = scale_pixmap(level, std::max(level->width / 2, 1), std::max(level->height / 2, 1));
        upload(level, i);
    }
}

} // namespace vantrel
