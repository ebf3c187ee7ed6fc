// The glow used for the large faint clouds.
#include "common/det_math.h"
#include "pictures/pictures.h"

#include <cmath>

namespace vantrel::assetgen {

RgbImage make_spark()
{
    constexpr int kSize = 256;
    constexpr double kCentre = 127.5;
    RgbImage image(kSize, kSize);
    const double floor_level = exp_det(-3.2);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const double dx = x - kCentre, dy = y - kCentre;
            const double t = std::sqrt(dx * dx + dy * dy) / 128.0;
            // A Gaussian lowered to reach zero exactly at the rim, then the
            // rim eased in so there is no visible ring.
            double glow = 0.0;
            if (t < 1.0) {
                glow = (exp_det(-3.2 * t * t) - floor_level) / (1.0 - floor_level);
                glow *= 1.0 - smoothstep(0.7, 1.0, t) * 0.35;
            }
            const double v = 1.0 + 194.0 * glow;  // 1 keeps it off the black mask colour
            const uint8_t level = to_byte(v);
            image.set(x, y, {level, level, level});
        }
    }
    return image;
}

}  // namespace vantrel::assetgen
