// A font file, a timer and a gamepad together: the local date and time in a
// TrueType font, a count of timer ticks taken from the event queue, and a
// marker the left stick moves (A turns it yellow). Prints each second's tick
// count and each gamepad plugged in or out.
//
//   example_text [--frames N] [--font FILE] [--dump FILE]
//
// Runs until Escape, Back on a gamepad or the close box, or for N frames;
// with --dump it writes the last frame as a PNG picture.
#include "assets/pixmap.h"
#include "assets/png_save.h"
#include "assets/stream.h"
#include "core/error.h"
#include "gfx/draw.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"
#include "gfx/truetype.h"
#include "input/date_time.h"
#include "input/events.h"
#include "input/gamepad.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "input/system_driver.h"
#include "input/timer.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vantrel;

namespace {

struct Options {
    int frames = -1;
    std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    std::string dump;
};

Options parse_options(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--frames")
            options.frames = std::atoi(argv[i + 1]);
        else if (flag == "--font")
            options.font = argv[i + 1];
        else if (flag == "--dump")
            options.dump = argv[i + 1];
    }
    return options;
}

bool save_frame(const std::string& path)
{
    Ref<TPixmap> frame = current_renderer()->read_back_pixmap(0, 0, screen_width(), screen_height());
    return save_pixmap_png(frame, Text::from_bytes(path));
}

// Takes every queued event; returns the latest tick count of the timer.
int32_t take_events(const Ref<TTimer>& timer, int32_t ticks)
{
    // [snippet:timer-events]
    while (next_queued_event() != 0) {
        const Ref<TEvent>& event = last_taken_event();
        if (event->id == EVENT_TIMER_TICK && same_object(event->source, timer))
            ticks = event->data; // ticks so far; a slow reader sees the latest
        if (event->id == EVENT_GAMEPAD_CONNECT || event->id == EVENT_GAMEPAD_DISCONNECT)
            std::printf("%s\n", event->to_string().to_bytes().c_str()); // x: the pad
    }
    // [/snippet]
    return ticks;
}

void draw_pad(float& x, float& y)
{
    // [snippet:gamepad]
    if (gamepad_connected(0)) {
        x += 4 * gamepad_axis(0, GAMEPAD_LEFT_X); // -1 .. 1, 0 in the dead zone
        y += 4 * gamepad_axis(0, GAMEPAD_LEFT_Y); // positive down
        const bool lit = gamepad_button_held(0, GAMEPAD_A) != 0;
        set_colour(lit ? 255 : 90, lit ? 220 : 140, 60);
        draw_oval(x - 8, y - 8, 16, 16);
    }
    // [/snippet]
}

int run(const Options& options)
{
    gl_backend_init();
    events_init();
    system_driver_init();
    graphics_init();
    graphics2d_init();
    set_app_title(u"Vantrel text example");
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no window: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    // [snippet:font]
    Ref<TGlyphFont> font = load_font(Text::from_bytes(options.font), 32); // 32 pixels high
    if (!font)
        std::fprintf(stderr, "cannot load %s; using the built-in font\n", options.font.c_str());
    select_font(font); // the null object selects the built-in font
    set_blend_mode(BLEND_ALPHA); // smooth edges; BLEND_MASK cuts them off
    // [/snippet]
    // [snippet:timer]
    Ref<TTimer> timer = create_timer(30); // 30 ticks a second, on a thread of its own
    // [/snippet]
    int32_t ticks = 0, printed = 0;
    float x = 320, y = 400;
    set_clear_colour(16, 24, 48);
    for (int frame = 0; frame != options.frames; ++frame) {
        if (take_key_hits(KEY_ESCAPE) || take_gamepad_button_hits(0, GAMEPAD_BACK) ||
            app_terminate_requested())
            break;
        ticks = take_events(timer, ticks);
        if (ticks / 30 != printed / 30)
            std::printf("ticks %d\n", ticks);
        printed = ticks;
        std::fflush(stdout);
        clear_screen();
        set_colour(255, 255, 255);
        // [snippet:text]
        const Text date = current_date(); // "10 Dec 2026"
        draw_text(date, 320 - measure_text_width(date) / 2.0f, 40);
        draw_text(current_time(), 40, 120); // "14:05:09"
        draw_text(Text::from_bytes("ticks: " + std::to_string(ticks)), 40, 200);
        // [/snippet]
        draw_pad(x, y);
        if (frame + 1 == options.frames && !options.dump.empty() && !save_frame(options.dump))
            std::fprintf(stderr, "cannot write %s\n", options.dump.c_str());
        flip_frame(-1);
    }
    timer->stop();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(parse_options(argc, argv));
    } catch (const TRuntimeError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
