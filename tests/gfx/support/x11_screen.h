// What the X server shows: pixels of the root window, read with XGetImage
// on a connection of the test's own, so a check sees the frame after it
// went through the buffer swap to the screen.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

namespace vantrel::test {

struct ScreenRGB {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const ScreenRGB&, const ScreenRGB&) = default;
    friend std::ostream& operator<<(std::ostream& os, const ScreenRGB& c)
    {
        return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
    }
};

struct ScreenImage {
    int32_t width = 0, height = 0;
    std::vector<ScreenRGB> pixels; // top row first
    const ScreenRGB& at(int32_t x, int32_t y) const { return pixels[y * width + x]; }
};

// The rectangle of the screen; empty when the display cannot be read.
ScreenImage capture_screen(int32_t x, int32_t y, int32_t width, int32_t height);

// Makes and maps a plain 24-bit true-colour window of the test's own (for
// wrapping); 0 when none can be made. destroy_test_window removes it, and
// window_exists / window_mapped ask the server about it.
uint64_t make_test_window(int32_t width, int32_t height, bool mapped);
bool window_exists(uint64_t window);
bool window_mapped(uint64_t window);
void destroy_test_window(uint64_t window);

} // namespace vantrel::test
