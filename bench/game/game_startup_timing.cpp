// Start-up time of the game, from process start to the first frame shown,
// and where it goes. The program starts itself again so that the time from
// exec to main (loading the program and its libraries) is counted; then it
// runs the game's own start-up steps, marking each, and the first pass of
// the real main_loop.
//
// Usage: game_startup_timing [gl|gles2]   (the renderer, gl by default)
#include "game/command_line.h"
#include "game/game_main.h"
#include "gfx/graphics.h"
#include "input/events.h"
#include "input/hooks.h"
#include "platform/clock_source.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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
        mark("loops, first pass: music, drawing, uploads");
        call_hooks(EVENT_HOOK, new_event(EVENT_APP_TERMINATE, Ref<TObject>(), 0, 0, 0, 0,
                                         Ref<TObject>()));
    }
    return data;
}

int child(uint64_t exec_us, std::string_view renderer)
{
    LaunchOptions options;
    options.renderer = renderer;
    set_launch_options(options);
    t_start = exec_us;
    t_last = exec_us;
    mark("exec to main (program and libraries)");
    start_engine();
    mark("engine, audio output, icon; decoding starts");
    open_game_window();
    mark("window and OpenGL contexts (2 clears/flips)");
    prepare_scene();
    mark("pictures masked (decoded meanwhile), scene");
    attach_hook(flip_hook_id(), &on_flip, Ref<TObject>(), 0);
    main_loop();
    const uint64_t shown = platform::monotonic_us();
    std::printf("%-44s %8.2f ms   (at %8.2f ms)\n", "first frame swapped (shown)",
                static_cast<double>(shown - t_last) / 1000,
                static_cast<double>(shown - t_start) / 1000);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--child")
        return child(std::strtoull(argv[2], nullptr, 10), argv[3]);
    const std::string renderer = argc > 1 ? argv[1] : "gl";
    if (!renderer_backend(renderer)) {
        std::fprintf(stderr, "usage: game_startup_timing [gl|gles2]\n");
        return 2;
    }
    const std::string t0 = std::to_string(platform::monotonic_us());
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/proc/self/exe", argv[0], "--child", t0.c_str(), renderer.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
