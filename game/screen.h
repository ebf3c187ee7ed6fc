// The game's logical screen: the 640 x 480 frame every game coordinate lives
// in, whatever size the window is shown at (see screen_mode.h). x grows to
// the right and y downwards from the top-left corner.
#pragma once

#include <cstdint>

namespace vantrel {

constexpr int32_t SCREEN_WIDTH = 640;
constexpr int32_t SCREEN_HEIGHT = 480;
// The centre line: where the bird starts and the wind bar's zero mark.
constexpr int32_t SCREEN_CENTRE_X = SCREEN_WIDTH / 2;

} // namespace vantrel
