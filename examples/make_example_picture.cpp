// make_example_picture FILE: writes the picture the picture example shows, a
// 64 x 32 bar, red in its left half and green in its right, so that a reader
// of the example's frames can tell where it is and which way it points.
#include "common/byte_io.h"
#include "common/png_file.h"

#include <cstdio>
#include <exception>

namespace {

vantrel::assetgen::RgbaImage bar_picture()
{
    vantrel::assetgen::RgbaImage picture{64, 32, {}};
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const bool left = x < picture.width / 2;
            picture.bytes.insert(picture.bytes.end(),
                                 {uint8_t(left ? 230 : 40), uint8_t(left ? 40 : 220), 40, 255});
        }
    }
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_example_picture FILE\n");
        return 2;
    }
    try {
        if (vantrel::assetgen::write_file(argv[1], vantrel::assetgen::encode_png_rgba(bar_picture())))
            return 0;
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 1;
}
