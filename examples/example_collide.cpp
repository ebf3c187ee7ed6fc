// A ring that drifts across a turning bar, tested for collision pixel by
// pixel every frame, over a court drawn once into an offscreen image, with
// streamed music underneath; the last frame can be saved as a PNG picture.
//
//   example_collide [--frames N] [--dump FILE] [--music FILE]
//
// Runs until Escape or the window's close box, or for N frames. Each time
// the ring starts or stops touching the bar it prints "touch FRAME" or
// "apart FRAME". --music streams a WAV or Ogg Vorbis file in a loop.
#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/png_save.h"
#include "assets/stream.h"
#include "audio/audio.h"
#include "audio/music.h"
#include "audio/ogg.h"
#include "audio/sample_loader.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/image_collision.h"
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
    std::string music;
};

Options parse_options(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--frames")
            options.frames = std::atoi(argv[i + 1]);
        else if (flag == "--dump")
            options.dump = argv[i + 1];
        else if (flag == "--music")
            options.music = argv[i + 1];
    }
    return options;
}

// A white picture of the pixels where inside(x, y) holds, transparent
// elsewhere: its alpha is what the collision tests read.
template <class Inside>
Ref<TImage> shape(int32_t width, int32_t height, Inside inside)
{
    Ref<TPixmap> pixmap = new_pixmap(width, height, FORMAT_RGBA32, 4);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixmap->put_pixel(x, y, inside(x, y) ? make_argb(255, 255, 255, 255) : make_argb(0, 0, 0, 0));
    Ref<TImage> image = load_image(Ref<TObject>(pixmap), 0);
    centre_image_handle(image);
    return image;
}

// The court: drawn once into an offscreen image, then shown every frame.
Ref<TImage> make_court()
{
    Ref<TImage> court = create_render_image(640, 480);
    if (!court)
        return court;
    set_render_target(court);
    set_clear_colour(20, 70, 40);
    clear_screen();
    set_colour(60, 130, 80);
    for (int x = 0; x < 640; x += 40)
        draw_rect(static_cast<float>(x), 0, 2, 480);
    for (int y = 0; y < 480; y += 40)
        draw_rect(0, static_cast<float>(y), 640, 2);
    set_render_target(nullptr);
    return court;
}

int run(const Options& options)
{
    gl_backend_init();
    streams_init();
    pixmap_loaders_init();
    sample_loaders_init();
#if VANTREL_HAVE_VORBIS
    ogg_loader_init(); // --music may name an Ogg Vorbis file
#endif
    audio_init(); // -1 without a sound card: the example then runs silently
    events_init();
    system_driver_init();
    graphics_init();
    graphics2d_init();
    set_app_title(u"Vantrel collision example");
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no window: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }

    const Ref<TImage> ring = shape(64, 64, [](int32_t x, int32_t y) {
        const float r = std::hypot(x - 31.5f, y - 31.5f);
        return r >= 22 && r < 31;
    });
    const Ref<TImage> bar = shape(200, 12, [](int32_t, int32_t) { return true; });
    const Ref<TImage> court = make_court();
    if (!court)
        std::fprintf(stderr, "no court: %s\n", last_graphics_error().to_bytes().c_str());

    Ref<TVoice> music_voice;
    if (!options.music.empty()) {
        // Decoded on the music thread as it plays, never all at once.
        if (Ref<TSoundAsset> music = open_music(Text::from_bytes(options.music), 1))
            music_voice = play_sound(music, Ref<TVoice>());
        else
            std::fprintf(stderr, "cannot play %s\n", options.music.c_str());
    }

    bool touching = false;
    for (int frame = 0; frame != options.frames; ++frame) {
        if (take_key_hits(KEY_ESCAPE) || app_terminate_requested())
            break;
        // [snippet:collide]
        // The ring drifts from the left edge to the right in four seconds and
        // back; the bar turns a full circle in three.
        const float sweep = static_cast<float>(frame % 480) / 240.0f;
        const ImagePlacement at_ring{60 + 520 * (sweep <= 1 ? sweep : 2 - sweep), 240};
        const ImagePlacement at_bar{320, 240, 0, 2.0f * frame}; // x, y, frame, degrees
        if (images_collide(ring, at_ring, bar, at_bar) != touching) { // drawn pixels overlap
            touching = !touching;
            std::printf("%s %d\n", touching ? "touch" : "apart", frame);
            std::fflush(stdout);
        }
        // [/snippet]

        clear_screen();
        set_blend_mode(BLEND_ALPHA);
        set_transform(0, 1, 1);
        if (court) {
            set_colour(255, 255, 255);
            draw_image(court, 0, 0, 0);
        }
        set_colour(230, 230, 230);
        set_transform(at_bar.rotation, 1, 1);
        draw_image(bar, at_bar.x, at_bar.y, 0);
        set_transform(0, 1, 1);
        touching ? set_colour(255, 60, 40) : set_colour(80, 200, 255);
        draw_image(ring, at_ring.x, at_ring.y, 0);
        if (frame + 1 == options.frames && !options.dump.empty()) {
            Ref<TPixmap> shot = current_renderer()->read_back_pixmap(0, 0, screen_width(), screen_height());
            if (!save_pixmap_png(shot, Text::from_bytes(options.dump)))
                std::fprintf(stderr, "cannot write %s\n", options.dump.c_str());
        }
        flip_frame(-1);
    }
    if (music_voice)
        stop_voice(music_voice);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return run(parse_options(argc, argv));
}
