// Makes the README's screenshot with the game itself: the real main_loop
// under the test harness's manual clock (so the picture is the same on
// every run), the bird flapping for a while, and the frame of the last pass
// read back and written as a PNG.
//
// Usage: game_screenshot OUTPUT.png [passes]
#include "../../tests/game/game_run.h"
#include "platform/event_injection.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vantrel;

namespace {

bool write_png(const char* path, const Ref<TPixmap>& frame)
{
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame->width),
                 static_cast<png_uint_32>(frame->height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(frame->width) * 3);
    for (int32_t y = 0; y < frame->height; ++y) {
        for (int32_t x = 0; x < frame->width; ++x) {
            const uint8_t* p = frame->pixel_ptr(x, y); // RGBA
            row[static_cast<size_t>(x) * 3 + 0] = p[0];
            row[static_cast<size_t>(x) * 3 + 1] = p[1];
            row[static_cast<size_t>(x) * 3 + 2] = p[2];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [passes]\n", argv[0]);
        return 2;
    }
    const int passes = argc > 2 ? std::atoi(argv[2]) : 420;
    test::GameRun game;
    // Rest, then both wings for a while and the right one alone: the bird
    // is up and leaning when the picture is taken.
    game.at_frame(200, [&] {
        game.press(platform::SCANCODE_Z);
        game.press(platform::SCANCODE_M);
    });
    game.at_frame(passes - 25, [&] { game.release(platform::SCANCODE_Z); });
    game.end_after(passes);
    game.run();
    game.release(platform::SCANCODE_M);
    if (!game.last_frame() || !write_png(argv[1], game.last_frame())) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
