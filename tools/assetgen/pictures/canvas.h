// Colour arithmetic for the picture generators: colours as doubles in 0..255,
// mixed and shaded, then rounded once into the 8-bit RGB picture.
#pragma once

#include "common/png_file.h"

namespace vantrel::assetgen {

struct Colour {
    double r = 0, g = 0, b = 0;
};

Colour mix(const Colour& a, const Colour& b, double t);  // t = 0 gives a
Colour scale(const Colour& c, double factor);
Colour add(const Colour& c, double amount);  // same amount on every channel
Rgb to_rgb(const Colour& c);

}  // namespace vantrel::assetgen
