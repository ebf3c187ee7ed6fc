// The drawing state every graphics starts with, put back between tests so
// each test starts as if the graphics had just been opened.
#pragma once

#include <cstdint>

namespace vantrel::test {

// Needs open graphics of width x height; clears the screen afterwards.
void reset_drawing_state(int32_t width, int32_t height);

} // namespace vantrel::test
