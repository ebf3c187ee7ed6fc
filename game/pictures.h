// The game's three pictures, loaded once at start-up from the embedded PNGs.
//
// All three are RGB without alpha, so each is loaded with its own mask
// colour: black around the spark's glow, magenta in the wing's notches and
// white around the island.
#pragma once

#include "core/object.h"
#include "gfx/image.h"

namespace vantrel {

extern Ref<TImage> spark_image;  // cloud glow, handle at its top-left corner
extern Ref<TImage> wing_image;   // feather texture of the wing quads
extern Ref<TImage> island_image; // handle at its top-left corner

// Loads the three, masked and filtered, setting the mask colour before each
// and switching on centred handles after the spark picture.
void load_pictures();

} // namespace vantrel
