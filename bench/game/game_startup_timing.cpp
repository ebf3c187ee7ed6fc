// Start-up time of the game, from process start to the first frame shown,
// and where it goes. The program starts itself again so that the time from
// exec to main (loading the program and its libraries) is counted; then it
// runs the start-up sequence step by step, as game_main does, and the first
// pass of the real main_loop, marking each step.
//
// Usage: game_startup_timing
#include "assets/pixmap_loader.h"
#include "assets/stream.h"
#include "audio/audio.h"
#include "audio/sample_loader.h"
#include "game/game_main.h"
#include "game/music.h"
#include "game/pictures.h"
#include "game/scenery.h"
#include "game/state.h"
#include "game/textured_poly.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"
#include "input/events.h"
#include "input/hooks.h"
#include "input/system_driver.h"
#include "platform/clock.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vantrel;

namespace {

uint64_t t_start = 0, t_last = 0;

void mark(const char* step)
{
    const uint64_t now = platform::monotonic_us();
    std::printf("%-44s %8.2f ms   (at %8.2f ms)\n", step, static_cast<double>(now - t_last) / 1000,
                static_cast<double>(now - t_start) / 1000);
    t_last = now;
}

int flips = 0;

// The first pass's flip: its drawing calls (with the first texture uploads)
// are done; stop the loop with a close request before the next pass.
Ref<TObject> on_flip(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    if (++flips == 1) {
        mark("first pass: music cycle, drawing, uploads");
        call_hooks(EVENT_HOOK, new_event(EVENT_APP_TERMINATE, Ref<TObject>(), 0, 0, 0, 0,
                                         Ref<TObject>()));
    }
    return data;
}

int child(uint64_t exec_us)
{
    t_start = exec_us;
    t_last = exec_us;
    mark("exec to main (program and libraries)");
    register_game_assets();
    streams_init();
    pixmap_loaders_init();
    sample_loaders_init();
    mark("assets registered, loaders");
    audio_init();
    mark("audio output opened");
    events_init();
    system_driver_init();
    graphics_init();
    graphics2d_init();
    mark("events, system driver, display drivers");
    set_app_title(Text(u"Vantrel v.0.3"));
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no window: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    mark("window and OpenGL contexts (2 clears/flips)");
    set_followers();
    set_blend_mode(BLEND_LIGHT);
    load_pictures();
    mark("three PNG pictures decoded and masked");
    create_scene_lists();
    set_clear_colour(0, 128, 255);
    textured_poly_init();
    load_music_loops();
    mark("eight WAV loops decoded");
    attach_hook(flip_hook_id(), &on_flip, Ref<TObject>(), 0);
    // The loop's own set-up runs again (cheap: the loops reload) before its first pass.
    const uint64_t before_loop = platform::monotonic_us();
    main_loop();
    const uint64_t shown = platform::monotonic_us();
    std::printf("%-44s %8.2f ms   (at %8.2f ms)\n", "first frame swapped (shown)",
                static_cast<double>(shown - t_last) / 1000,
                static_cast<double>(shown - t_start) / 1000);
    std::printf("(main_loop's own reload of the loops took part of the %.2f ms before the "
                "first pass)\n",
                static_cast<double>(shown - before_loop) / 1000);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--child")
        return child(std::strtoull(argv[2], nullptr, 10));
    const std::string t0 = std::to_string(platform::monotonic_us());
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/proc/self/exe", argv[0], "--child", t0.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
