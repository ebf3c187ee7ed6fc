// The scripted flight's frames as the browser comparison takes them: which
// passes are compared, and the record one compared pass has in the Linux
// build's file (scripts/build-web --test, tests/web/frames_test.js).
#pragma once

#include <cstddef>

namespace vantrel::test {

inline constexpr int FLIGHT_PASSES = 1000;

// Every pass with every 1; otherwise the first and each every-th.
inline bool compared_pass(int pass, int every)
{
    return every <= 1 || pass == 1 || pass % every == 0;
}

// A compared pass in the file: 640 x 480 RGB bytes, top row first, then
// the frame's cover (frame_cover.h): its top kinds, then its kind masks.
inline constexpr size_t FRAME_PIXELS = 640 * 480;
inline constexpr size_t FRAME_RECORD_BYTES = FRAME_PIXELS * 5;

} // namespace vantrel::test
