// The software frame schedule behind flip_frame(-1): frames 1000 / hertz ms
// apart on average, anchored at open_graphics, with late frames restarting
// the schedule instead of running up a debt.
#pragma once

#include "gfx/graphics.h"

#include <cstdint>

namespace vantrel {

// Decides whether flips need software pacing and anchors the schedule now.
// Full-screen graphics first check for 1000 ms whether the driver's
// retrace-synchronised flip already keeps the rate.
void start_frame_pacing(TDisplayDriver& driver, int32_t depth, int32_t hertz);

// Advances the schedule by one frame and sleeps until it is due.
void wait_for_next_frame();

} // namespace vantrel
