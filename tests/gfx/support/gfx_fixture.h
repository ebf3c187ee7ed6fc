// A fixture with real graphics: a 640 x 480 window opened through
// open_graphics (once per test suite) and reset to the initial drawing state
// before every test. Pixels are read from the back buffer before any swap.
#pragma once

#include "gfx/graphics.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string_view>

namespace vantrel::test {

struct RGB {
    int r, g, b;
    friend bool operator==(const RGB&, const RGB&) = default;
    friend std::ostream& operator<<(std::ostream& os, const RGB& c)
    {
        return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
    }
};

// The renderer the tests draw with: VANTREL_TEST_RENDERER, "gl" (the
// default) or "gles2".
std::string_view renderer_under_test();

// Engine start-up as the game does it, once per process.
void start_engine();

// The pixel at screen (x, y), y growing downwards, from the back buffer.
RGB pixel(int x, int y);
// Number of pixels in the rectangle [x0, x1) x [y0, y1) that equal c.
int count_pixels(int x0, int y0, int x1, int y1, RGB c);
// The bounding box [x0, x1) x [y0, y1) of all pixels that differ from bg;
// all -1 when none does.
std::array<int, 4> bounds_not(RGB bg);

class GfxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Puts the drawing state back to its initial values and clears to black.
    static void reset_state();
};

} // namespace vantrel::test
