// A window with a line of text in the built-in font, a picture, loaded
// from a PNG file, that moves about and turns, and a badge drawn once into
// an offscreen image and shown in the corner.
//
//   example_picture [--frames N] [--dump FILE] [--dump-badge FILE] [PICTURE.png]
//
// Runs until Escape or the window's close box, or for N frames. --dump
// writes the last frame to FILE as a PNG picture, --dump-badge the badge.
// The picture defaults to picture.png in the current directory (the build
// writes one beside this program).
#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/png_save.h"
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
#include "gfx/render_image.h"
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
    std::string dump_badge;
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
        else if (arg == "--dump-badge" && i + 1 < argc)
            options.dump_badge = argv[++i];
        else
            options.picture = arg;
    }
    return options;
}

// The frame drawn so far, as a PNG file: read back before the flip shows it.
bool save_frame(const std::string& path)
{
    // [snippet:streams]
    Ref<TPixmap> frame = current_renderer()->read_back_pixmap(0, 0, screen_width(), screen_height());
    return save_pixmap_png(frame, Text::from_bytes(path)); // false when it cannot be written
    // [/snippet]
}

// A badge drawn once into an offscreen image; null when the renderer cannot
// draw into images.
Ref<TImage> make_badge()
{
    // [snippet:offscreen]
    Ref<TImage> badge = create_render_image(160, 40);
    if (!badge) {
        std::fprintf(stderr, "no badge: %s\n", last_graphics_error().to_bytes().c_str());
        return badge;
    }
    set_render_target(badge); // drawing goes into the image from here
    set_clear_colour(40, 60, 160);
    clear_screen();
    set_colour(255, 220, 0);
    draw_rect(0, 0, 160, 6); // a yellow band along its top
    set_colour(255, 255, 255);
    draw_text(u"drawn once", 8, 16);
    set_render_target(nullptr); // back to the window, its state as it was
    // [/snippet]
    return badge;
}

bool save_badge(const Ref<TImage>& badge, const std::string& path)
{
    // [snippet:offscreen-grab]
    Ref<TPixmap> pixels = grab_render_image(badge); // RGBA32, top row first
    return save_pixmap_png(pixels, Text::from_bytes(path));
    // [/snippet]
}

void draw_scene(const Ref<TImage>& picture, const Ref<TImage>& badge, int frame)
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
    if (badge) {
        // [snippet:offscreen-draw]
        draw_image(badge, 16, 424, 0); // like any image: its handle is its top-left corner
        // [/snippet]
    }
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

    const Ref<TImage> badge = make_badge();
    if (badge && !options.dump_badge.empty() && !save_badge(badge, options.dump_badge))
        std::fprintf(stderr, "cannot write %s\n", options.dump_badge.c_str());
    set_clear_colour(16, 24, 48);
    for (int frame = 0; frame != options.frames; ++frame) {
        if (take_key_hits(KEY_ESCAPE) || app_terminate_requested())
            break;
        draw_scene(picture, badge, frame);
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
