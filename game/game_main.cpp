// Start-up and the main loop.
#include "game/game_main.h"

#include "assets/jpeg.h"
#include "assets/pixmap_loader.h"
#include "assets/stream.h"
#include "audio/audio.h"
#include "audio/ogg.h"
#include "audio/sample_loader.h"
#include "game/asset_decoding.h"
#include "game/flight.h"
#include "game/music.h"
#include "game/pad_flight.h"
#include "game/pictures.h"
#include "game/scene_draw.h"
#include "game/scenery.h"
#include "game/screen.h"
#include "game/screen_mode.h"
#include "game/state.h"
#include "game/textured_poly.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"
#include "input/clock.h"
#include "input/events.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "input/system_driver.h"

#include <cstdio>
#include <cstdlib>

namespace vantrel {

namespace {

bool entered = false;
bool main_started = false;
bool loop_ended = false; // a host's later calls find the game over
LaunchOptions options;

// Each facility after those it depends on; the 2-D renderer registers after
// the display driver, so it is the one in use. The backend (the OpenGL one,
// with the SDL window system and audio output, in the program) is made known
// first: the audio and graphics start-ups take their devices from it.
void init_engine(void (*register_backend)())
{
    register_backend();
    streams_init();
    pixmap_loaders_init();
#if VANTREL_HAVE_JPEG
    jpeg_loader_init();
#endif
    sample_loaders_init();
#if VANTREL_HAVE_VORBIS
    ogg_loader_init();
#endif
    audio_init(); // without an output device the sounds play silently
    events_init();
    system_driver_init();
    graphics_init();
    graphics2d_init();
}

// The window works without its icon, so a missing one is no error.
void set_window_icon()
{
    set_app_icon(decode_pixmap(Text(WINDOW_ICON_LOCATION)));
}

} // namespace

void open_game_window()
{
    set_app_title(Text(u"Vantrel v.0.3"));
    screen_mode_init(options);
    if (open_graphics(SCREEN_WIDTH, SCREEN_HEIGHT, 0, 60, 0))
        return;
    // Drawing needs an open window: say why there is none rather than run blind.
    std::fprintf(stderr, "vantrel: cannot open the 640 x 480 OpenGL window: %s\n",
                 last_graphics_error().to_bytes().c_str());
    std::fflush(stderr);
    std::exit(EXIT_FAILURE);
}

namespace {

bool loop_should_end()
{
    // The close request is asked only when Escape was not hit.
    return take_key_hits(KEY_ESCAPE) != 0 || app_terminate_requested() != 0 || pad_quit_hit();
}

} // namespace

void set_launch_options(const LaunchOptions& launch) { options = launch; }
LaunchOptions launch_options() { return options; }

int game_entry()
{
    if (entered)
        return 0;
    entered = true;
    game_main();
    std::exit(EXIT_SUCCESS);
}

int32_t game_main()
{
    if (main_started)
        return 0;
    main_started = true;
    start_game();
    return main_loop();
}

void start_game()
{
    start_engine();
    open_game_window();
    prepare_scene();
}

void start_engine() { start_engine(renderer_backend(options.renderer)); }

void start_engine(void (*register_backend)())
{
    register_game_assets();
    register_icon_asset();
    init_engine(register_backend);
    set_window_icon();
    start_decoding_assets();
}

void prepare_scene()
{
    set_followers();
    set_blend_mode(BLEND_LIGHT);
    load_pictures();
    create_scene_lists();
}

void begin_loop()
{
    loop_ended = false;
    set_clear_colour(0, 128, 255);
    textured_poly_init();
    load_music_loops();
}

bool step_pass()
{
    if (loop_ended || loop_should_end()) {
        loop_ended = true;
        return false;
    }
    switch_screen_when_asked();
    run_pass();
    return true;
}

int32_t main_loop()
{
    begin_loop();
    while (step_pass()) {
    }
    return 0;
}

void start_hosted_game()
{
    set_host_paced(true);
    start_game();
    begin_loop();
}

void run_pass()
{
    now_ms = clock_ms();
    music_elapsed_ms = static_cast<int32_t>(static_cast<uint32_t>(music_elapsed_ms) +
                                            static_cast<uint32_t>(elapsed_ms(last_ms, now_ms)));
    // Kept on purpose: last_ms starts at 0, so the first pass adds the whole
    // clock reading and, on any clock past 16 s, starts the first music
    // cycle at once.
    // Only the first pass can make the sum negative: it adds the whole clock
    // reading, which reads negative once the counter passes 2^31 ms. That
    // must start the first cycle too, not silence the music for weeks.
    if (music_elapsed_ms > MUSIC_CYCLE_MS || music_elapsed_ms < 0)
        play_sound(pick_music_loop(), Ref<TVoice>());
    draw_frame();
    read_flight_keys();
    update_bird();
    update_wind();
    last_ms = now_ms;
}

} // namespace vantrel
