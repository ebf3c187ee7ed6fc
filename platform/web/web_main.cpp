// The game in a page: start-up, then one pass per animation frame when the
// pass schedule says one is due, until Escape ends the game.
#include "game/game_main.h"
#include "gfx/graphics.h"
#include "audio/audio_system.h"
#include "page_clock.h"
#include "page_sound.h"
#include "pass_schedule.h"
#include "pulled_output.h"

#include <emscripten.h>

#include <optional>

namespace vantrel::web {
namespace {

PageClock page_clock;
std::optional<PassSchedule> schedule;
std::optional<PageSound> sound;

// The page's own script shows the ended message (index.html).
EM_JS(void, tell_page_game_ended, (), {
    if (Module['gameEnded'])
        Module['gameEnded']();
});

void end_game()
{
    emscripten_cancel_main_loop();
    sound.reset();
    audio_shutdown();
    close_opened_graphics();
    tell_page_game_ended();
}

void frame()
{
    const double now = page_now_ms();
    sound->keep_up(now);
    if (!schedule->take(now))
        return;
    if (!step_pass())
        end_game();
}

} // namespace
} // namespace vantrel::web

int main()
{
    using namespace vantrel;
    LaunchOptions options = launch_options();
    options.renderer = "gles2";
    set_launch_options(options);
    platform::set_clock_source(&web::page_clock);
    // The mixer is pulled by the page's sound, so no thread refills it.
    audio_init_with(make_ref<web::PulledOutput>(), false);
    start_hosted_game();
    const double now = web::page_now_ms();
    web::sound.emplace(now);
    web::sound->open();
    web::schedule.emplace(now);
    emscripten_set_main_loop(&web::frame, 0, false);
    return 0;
}
