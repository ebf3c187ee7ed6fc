// The three pictures of the game and the application icon.
#pragma once

#include "common/png_file.h"

namespace vantrel::assetgen {

inline constexpr Rgb kMagenta{255, 0, 255};

// 256 x 256: a white and grey feather lying along the width, its quill near
// the top and its vane below; splits in the vane's bottom edge are magenta,
// which the game makes transparent. Texture x runs from the bird's body out
// along the wing, y from the leading to the trailing edge.
RgbImage make_feather();

// 256 x 256: a soft grey glow, 195 at the centre, never pure black.
RgbImage make_spark();

// 512 x 512: an island seen from above on pure white, which the game makes
// transparent; the white covers close to 55 % of the picture.
RgbImage make_island();

// size x size, RGBA: the application icon, a white feather on a rounded tile
// of sky blue, transparent outside the tile. Sizes 16 to 1024.
RgbaImage make_icon(int size);

}  // namespace vantrel::assetgen
