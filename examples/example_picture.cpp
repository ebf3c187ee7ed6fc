// A window with a line of text in the built-in font and a picture, loaded
// from a PNG file, that moves about and turns.
//
//   example_picture [--frames N] [--dump FILE] [PICTURE.png]
//
// Runs until Escape or the window's close box, or for N frames. --dump
// writes the last frame to FILE as a binary PPM picture. The picture
// defaults to picture.png in the current directory (the build writes one
// beside this program).
#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/stream.h"
#include "audio/audio.h"
#include "audio/sample_loader.h"
#include "core/error.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/render_driver.h"
#include "input/events.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "input/system_driver.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vantrel;

namespace {

struct Options {
    int frames = -1; // -1: until Escape or the close box
    std::string dump;
    std::string picture = "picture.png";
};

Options parse_options(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--frames" && i + 1 < argc)
            options.frames = std::atoi(argv[++i]);
        else if (arg == "--dump" && i + 1 < argc)
            options.dump = argv[++i];
        else
            options.picture = arg;
    }
    return options;
}

// The frame drawn so far, as a PPM file: read back before the flip shows it.
bool save_frame(const std::string& path)
{
    // [snippet:streams]
    Ref<TPixmap> frame = current_renderer()->read_back_pixmap(0, 0, screen_width(), screen_height());
    Ref<TByteStream> out = write_stream(Text::from_bytes(path));
    if (!out)
        return false;
    const std::string header = "P6\n" + std::to_string(frame->width) + " " +
                               std::to_string(frame->height) + "\n255\n";
    out->write_bytes(header.data(), static_cast<int32_t>(header.size()));
    for (int32_t y = 0; y < frame->height; ++y)
        for (int32_t x = 0; x < frame->width; ++x)
            out->write_bytes(frame->pixel_ptr(x, y), 3); // RGBA32: red, green, blue, alpha
    out->close();
    // [/snippet]
    return true;
}

void draw_scene(const Ref<TImage>& picture, int frame)
{
    // [snippet:drawing]
    clear_screen();
    set_blend_mode(BLEND_ALPHA);
    set_colour(255, 255, 255);
    set_alpha(1.0f);
    draw_text(u"Vantrel: text, and a picture that moves and turns", 16, 16);
    set_transform(3.0f * frame, 1.5f, 1.5f); // degrees clockwise, then scale
    draw_image(picture, 320 + 200 * std::sin(0.05f * frame), 260 + 120 * std::cos(0.03f * frame), 0);
    set_transform(0, 1, 1);
    // [/snippet]
}

int run(const Options& options)
{
    // [snippet:start-up]
    gl_backend_init(); // OpenGL drawing in SDL windows
    streams_init();
    pixmap_loaders_init();
    sample_loaders_init();
    audio_init(); // -1 without a sound card; sounds then play silently
    events_init();
    system_driver_init();
    graphics_init();
    graphics2d_init();
    set_app_title(u"Vantrel picture example");
    if (!open_graphics(640, 480, 0, 60, 0)) { // windowed, 60 frames a second
        std::fprintf(stderr, "no window: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    // [/snippet]

    // [snippet:images]
    set_auto_centre_handle(1); // images turn about their centre
    Ref<TImage> picture = load_image(Text::from_bytes(options.picture), IMAGE_FILTERED);
    if (!picture) {
        std::fprintf(stderr, "cannot load %s\n", options.picture.c_str());
        return 1;
    }
    // [/snippet]

    set_clear_colour(16, 24, 48);
    for (int frame = 0; frame != options.frames; ++frame) {
        if (take_key_hits(KEY_ESCAPE) || app_terminate_requested())
            break;
        draw_scene(picture, frame);
        if (frame + 1 == options.frames && !options.dump.empty() && !save_frame(options.dump))
            std::fprintf(stderr, "cannot write %s\n", options.dump.c_str());
        flip_frame(-1);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(parse_options(argc, argv));
    } catch (const TRuntimeError& error) { // misuse and broken data
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
