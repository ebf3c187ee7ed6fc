// Colour arithmetic.
#include "pictures/canvas.h"

#include "common/det_math.h"

namespace vantrel::assetgen {

Colour mix(const Colour& a, const Colour& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scale(const Colour& c, double factor)
{
    return {c.r * factor, c.g * factor, c.b * factor};
}

Colour add(const Colour& c, double amount)
{
    return {c.r + amount, c.g + amount, c.b + amount};
}

Rgb to_rgb(const Colour& c)
{
    return {to_byte(c.r), to_byte(c.g), to_byte(c.b)};
}

}  // namespace vantrel::assetgen
