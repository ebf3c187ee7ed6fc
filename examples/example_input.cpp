// A read-out of the keyboard and the mouse through the polled input: the
// keys hit and held, the characters typed, the pointer, the buttons and the wheel,
// shown in the window and printed on standard output as they change; and
// each mouse press as the event the window system reported.
//
//   example_input [--frames N]
//
// Runs until Escape or the window's close box, or for N frames.
#include "core/error.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "input/events.h"
#include "input/hooks.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "input/system_driver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vantrel;

namespace {

// What the read-out showed last, to print only what changed.
struct ReadOut {
    bool keys[256] = {};
    bool buttons[4] = {};
    int x = -1, y = -1, wheel = 0;
    std::string typed; // the last 40 characters
};

// [snippet:events]
// Every event passes the event hook's chain of callbacks; each sees it and
// hands it on. The polled input is such a callback too.
Ref<TObject> print_mouse_presses(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    Ref<TEvent> event = ref_cast<TEvent>(data); // the null object for other data
    if (event && event->id == EVENT_MOUSE_DOWN)
        std::printf("event %s\n", event->to_string().to_bytes().c_str());
    return data;
}
// [/snippet]

void read_keys(ReadOut& shown)
{
    // [snippet:keyboard]
    for (int32_t key = 1; key < 256; ++key) {
        if (int32_t hits = take_key_hits(key)) // presses since the last call
            std::printf("key %d hit %d\n", key, hits);
        const bool held = key_held(key) != 0; // a short tap may come and go unseen
        if (held != shown.keys[key])
            std::printf("key %d %s\n", key, held ? "held" : "released");
        shown.keys[key] = held;
    }
    while (int32_t c = next_typed_char()) { // characters, in the order typed
        std::printf("typed %d\n", c);
        shown.typed = (shown.typed + char(c)).substr(shown.typed.size() >= 40 ? 1 : 0);
    }
    // [/snippet]
}

void read_mouse(ReadOut& shown)
{
    // [snippet:mouse]
    if (pointer_x() != shown.x || pointer_y() != shown.y)
        std::printf("pointer %d %d\n", pointer_x(), pointer_y()); // window pixels
    shown.x = pointer_x();
    shown.y = pointer_y();
    for (int32_t button = 1; button <= 3; ++button) { // left, right, middle
        const bool held = button_held(button) != 0;
        if (held != shown.buttons[button])
            std::printf("button %d %s\n", button, held ? "held" : "released");
        shown.buttons[button] = held;
    }
    if (wheel_pos() != shown.wheel)
        std::printf("wheel %d\n", wheel_pos()); // steps, summed
    shown.wheel = wheel_pos();
    // [/snippet]
    std::fflush(stdout);
}

void draw_read_out(const ReadOut& shown)
{
    std::string held = "keys held:";
    for (int key = 1; key < 256; ++key)
        if (shown.keys[key])
            held += " " + std::to_string(key);
    clear_screen();
    set_colour(255, 255, 255);
    draw_text(Text::from_bytes(held), 16, 16);
    draw_text(Text::from_bytes("typed: " + shown.typed), 16, 40);
    draw_text(Text::from_bytes("pointer: " + std::to_string(shown.x) + ", " + std::to_string(shown.y)), 16, 64);
    draw_text(Text::from_bytes("wheel: " + std::to_string(shown.wheel)), 16, 88);
    for (int button = 1; button <= 3; ++button) { // lit while held
        set_colour(shown.buttons[button] ? 250 : 60, shown.buttons[button] ? 200 : 80, 60);
        draw_rect(16.0f + 40 * (button - 1), 120, 32, 48);
    }
}

int run(int frames)
{
    gl_backend_init();
    events_init();
    system_driver_init();
    graphics_init();
    graphics2d_init();
    set_app_title(u"Vantrel input example");
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no window: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    // [snippet:hook]
    attach_hook(EVENT_HOOK, &print_mouse_presses, Ref<TObject>(), 0); // no context, priority 0
    // [/snippet]
    ReadOut shown;
    // [snippet:frame-loop]
    for (int frame = 0; frame != frames; ++frame) {
        if (take_key_hits(KEY_ESCAPE) || app_terminate_requested())
            break; // Escape, or the window's close box
        read_keys(shown);
        read_mouse(shown);
        draw_read_out(shown);
        flip_frame(-1); // show the frame, then sleep until the next is due
    }
    // [/snippet]
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int frames = -1; // -1: until Escape or the close box
    if (argc == 3 && std::string(argv[1]) == "--frames")
        frames = std::atoi(argv[2]);
    try {
        return run(frames);
    } catch (const TRuntimeError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
