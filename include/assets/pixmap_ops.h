// Whole-pixmap operations that make a new pixmap from an old one: colour-key
// masking, bilinear resizing and mirroring. The source is never changed.
#pragma once

#include "assets/pixmap.h"

#include <cstdint>

namespace vantrel {

// A new FORMAT_RGBA32 pixmap in which pixels of the key colour are transparent
// and take the average colour of their unmasked 3 x 3 neighbours (black when
// there are none); every other pixel becomes opaque.
Ref<TPixmap> apply_colour_key(const Ref<TPixmap>& pixmap, int32_t key_red, int32_t key_green,
                              int32_t key_blue);

// A new pixmap of the given size and the source's format, resampled bilinearly
// on a pixel-centre grid with clamped edges.
Ref<TPixmap> scale_pixmap(const Ref<TPixmap>& pixmap, int32_t new_width, int32_t new_height);

// New pixmaps (same size and format, align 4) mirrored left to right and top
// to bottom.
Ref<TPixmap> mirror_pixmap_x(const Ref<TPixmap>& pixmap);
Ref<TPixmap> mirror_pixmap_y(const Ref<TPixmap>& pixmap);

} // namespace vantrel
