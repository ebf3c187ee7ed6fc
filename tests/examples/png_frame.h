// The pictures the examples save, read back through the engine's own PNG
// loader for the tests to look at.
#pragma once

#include <cstdint>
#include <string>

namespace vantrel::test {

struct Frame {
    int width = 0, height = 0;
    std::string rgba; // rows of red, green, blue, alpha, top row first
    int channel(int x, int y, int c) const
    {
        return static_cast<uint8_t>(rgba[(static_cast<size_t>(y) * width + x) * 4 + c]);
    }
    int grey(int x, int y) const { return (channel(x, y, 0) + channel(x, y, 1) + channel(x, y, 2)) / 3; }
};

// The PNG file at path; an empty frame when there is none or it is no PNG.
Frame read_png(const std::string& path);

} // namespace vantrel::test
