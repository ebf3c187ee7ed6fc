// Composing a frame: the sky, the scenery, the bird and the wind bar, then
// showing it with the frame pacing that sets the game's speed.
//
// The bird is drawn from the flight model's followers, so the picture lags
// smoothly behind the flight state: an oval body, tail and spine lines, two
// eyes, a head, and seven quads cut from the wing picture.
#pragma once

#include "core/object.h"

#include <array>
#include <cstdint>

namespace vantrel {

class TImage;

// One wing quad's corners in whole pixels. P1 and P2 take the texture's
// left edge from top to bottom, P3 and P4 its right edge.
struct WingQuad {
    int32_t x1, y1, x2, y2, x3, y3, x4, y4;
    friend bool operator==(const WingQuad&, const WingQuad&) = default;
};

// Where the bird is drawn this frame, from the followers.
struct BirdPose {
    float x;       // bird_x
    int32_t b;     // drawn body height
    float d;       // sideways lean of tail and spine
};

BirdPose bird_pose();

// The seven quads, in drawing order: right middle, right outer, right
// inner, left middle, left outer, left inner, tail.
std::array<WingQuad, 7> wing_quads(const BirdPose& pose);

// Width of the wind bar in pixels (negative: it grows to the left).
float wind_bar_width();

void draw_frame();
void draw_bird();
void draw_wind_bar();
void draw_wing_quad(const Ref<TImage>& image, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                    int32_t x3, int32_t y3, int32_t x4, int32_t y4);

} // namespace vantrel
