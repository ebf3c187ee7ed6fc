// The whole-game test harness.
#include "game_run.h"

#include "audio/audio_system.h"
#include "audio/channel_table.h"
#include "audio/mixer/sound.h"
#include "audio/mixer_backend.h"
#include "game/game_main.h"
#include "game/music.h"
#include "game/random.h"
#include "game/screen.h"
#include "game/state.h"
#include "gfx/gfx_state.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "input/events.h"
#include "input/hooks.h"
#include "input/input_state.h"
#include "input/polled_input.h"
#include "platform/event_injection.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace vantrel::test {

namespace {

class RunContext final : public TObject {
public:
    explicit RunContext(GameRun* r) : run(r) {}
    GameRun* run;
};

// Tests share one display, and a window another test opens takes the
// focus, which the game would see as losing activation (all keys let go).
// This hook sits just before the polled input and keeps those notices from
// it; every other event goes on unchanged.
Ref<TObject> shield_focus(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    if (auto e = ref_cast<TEvent>(data))
        if (e->id == EVENT_APP_SUSPEND || e->id == EVENT_APP_RESUME)
            return Ref<TObject>();
    return data;
}

// VANTREL_TEST_RENDERER, when set, names the renderer as --renderer would.
void use_renderer_under_test()
{
    const char* name = std::getenv("VANTREL_TEST_RENDERER");
    if (!name || !*name)
        return;
    if (!renderer_backend(name))
        throw std::runtime_error(std::string("no renderer named ") + name);
    LaunchOptions options = launch_options();
    for (const std::string_view known : renderer_names())
        if (known == name)
            options.renderer = known;
    set_launch_options(options);
}

void (*after_backend)() = nullptr;

void backend_then_after()
{
    renderer_backend(launch_options().renderer)();
    after_backend();
}

// start_game, with the backend's registration followed by after_backend.
void start_game_after_backend()
{
    start_engine(&backend_then_after);
    open_game_window();
    prepare_scene();
}

} // namespace

void run_after_backend_init(void (*after)()) { after_backend = after; }

Rgb pixel(const Ref<TPixmap>& frame, int32_t x, int32_t y)
{
    const uint8_t* p = frame->pixel_ptr(x, y);
    return {p[0], p[1], p[2]};
}

GameRun::GameRun(uint32_t start_ms) : clock(start_ms)
{
    scoped_clock_.emplace(clock);
    start();
}

GameRun::GameRun(KeepClock)
{
    start();
}

GameRun::GameRun(Hosted, uint32_t start_ms) : clock(start_ms)
{
    scoped_clock_.emplace(clock);
    start(true);
}

void GameRun::start(bool hosted)
{
    // Every game starts as in a new process: the drawing and input records
    // as at program load (the window of a previous game closes), then the
    // game's. The clock and the audio output stay the test's choice.
    gfx_state().reset();
    input_state().reset();
    reset_game_state();
    set_random_state(RANDOM_START_STATE);
    use_renderer_under_test();
    if (hosted)
        start_hosted_game();
    else if (after_backend)
        start_game_after_backend();
    else
        start_game();
    attach_hook(EVENT_HOOK, &shield_focus, Ref<TObject>(), 1);
    hook_context_ = make_ref<RunContext>(this);
    attach_hook(flip_hook_id(), &GameRun::flip_callback, hook_context_, 0);
}

GameRun::~GameRun()
{
    detach_hook(flip_hook_id(), &GameRun::flip_callback, hook_context_);
    detach_hook(EVENT_HOOK, &shield_focus, Ref<TObject>());
    close_opened_graphics();
}

Ref<TObject> GameRun::flip_callback(int32_t, const Ref<TObject>& data,
                                    const Ref<TObject>& context)
{
    if (auto c = ref_cast<RunContext>(context))
        c->run->on_flip();
    return data;
}

void GameRun::on_flip()
{
    ++frame_count_;
    if (read_back_)
        last_frame_ = current_renderer()->read_back_pixmap(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    if (keep_frames_ && last_frame_)
        frames_.push_back(last_frame_);
    auto [first, last] = scripted_.equal_range(frame_count_);
    for (auto it = first; it != last; ++it)
        it->second();
    for (auto& action : every_)
        action(frame_count_);
}

void GameRun::at_frame(int n, std::function<void()> action)
{
    scripted_.emplace(n, std::move(action));
}

void GameRun::every_frame(std::function<void(int)> action)
{
    every_.push_back(std::move(action));
}

uint32_t GameRun::window_id() const
{
    // Whichever renderer draws, its graphics are one of the GL driver's.
    const Ref<TGraphics2D> g2d = current_graphics2d();
    const auto context = g2d ? ref_cast<TGLGraphicsContext>(g2d->backend) : nullptr;
    const Ref<GLContextRecord> record = context ? context->record() : nullptr;
    if (!record || !record->window)
        throw std::runtime_error("the game has no window");
    return record->window->id();
}

void GameRun::press(int32_t scancode)
{
    if (!platform::inject_key(window_id(), scancode, true))
        throw std::runtime_error("key event not injected");
}

void GameRun::release(int32_t scancode)
{
    if (!platform::inject_key(window_id(), scancode, false))
        throw std::runtime_error("key event not injected");
}

void GameRun::tap(int32_t scancode)
{
    press(scancode);
    release(scancode);
}

void GameRun::request_close()
{
    if (!platform::inject_window_notice(window_id(), platform::WindowNotice::Close))
        throw std::runtime_error("close request not injected");
}

void GameRun::end_after(int n)
{
    at_frame(n, [this] { tap(platform::SCANCODE_ESCAPE); });
}

int32_t GameRun::run()
{
    return main_loop();
}

bool GameRun::step()
{
    return step_pass();
}

void fly_scripted_flight(GameRun& game)
{
    auto hold = [&](int from, int to, int32_t scancode) {
        game.at_frame(from, [&game, scancode] { game.press(scancode); });
        game.at_frame(to, [&game, scancode] { game.release(scancode); });
    };
    hold(20, 200, platform::SCANCODE_Z);
    hold(20, 200, platform::SCANCODE_M);
    hold(260, 320, platform::SCANCODE_LEFT);
    hold(380, 440, platform::SCANCODE_RIGHT);
    hold(450, 520, platform::SCANCODE_A);
    hold(600, 650, platform::SCANCODE_SPACE);
    hold(700, 900, platform::SCANCODE_Z);
    hold(705, 880, platform::SCANCODE_M);
}

} // namespace vantrel::test
