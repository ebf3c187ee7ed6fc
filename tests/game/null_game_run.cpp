// The whole-game harness on the null backend.
#include "null_game_run.h"

#include "game/game_main.h"
#include "game/random.h"
#include "game/state.h"
#include "gfx/gfx_state.h"
#include "gfx/graphics.h"
#include "gfx/null/null_backend.h"
#include "gfx/null/null_graphics_driver.h"
#include "gfx/null/null_render_driver.h"
#include "input/hooks.h"
#include "input/input_state.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "platform/null/null_platform.h"

#include <stdexcept>

namespace vantrel::test {

namespace {

class RunContext final : public TObject {
public:
    explicit RunContext(NullGameRun* r) : run(r) {}
    NullGameRun* run;
};

NullDrawLog& draw_log() { return null_render_driver()->log(); }

} // namespace

NullGameRun::NullGameRun(uint32_t start_ms) : clock(start_ms)
{
    scoped_clock_.emplace(clock);
    // As in a new process: the drawing and input records as at program
    // load, then the game's.
    gfx_state().reset();
    input_state().reset();
    reset_game_state();
    set_random_state(RANDOM_START_STATE);
    draw_log().recording = true;
    draw_log().clear();
    platform::null_message_pump().pending.clear();
    start_engine(&null_backend_init);
    open_game_window();
    prepare_scene();
    hook_context_ = make_ref<RunContext>(this);
    attach_hook(flip_hook_id(), &NullGameRun::flip_callback, hook_context_, 0);
}

NullGameRun::~NullGameRun()
{
    detach_hook(flip_hook_id(), &NullGameRun::flip_callback, hook_context_);
    close_opened_graphics();
}

Ref<TObject> NullGameRun::flip_callback(int32_t, const Ref<TObject>& data,
                                        const Ref<TObject>& context)
{
    if (auto c = ref_cast<RunContext>(context))
        c->run->on_flip();
    return data;
}

void NullGameRun::on_flip()
{
    ++frame_count_;
    for (auto& action : every_)
        action(frame_count_);
    auto [first, last] = scripted_.equal_range(frame_count_);
    for (auto it = first; it != last; ++it)
        it->second();
}

void NullGameRun::at_frame(int n, std::function<void()> action)
{
    scripted_.emplace(n, std::move(action));
}

void NullGameRun::every_frame(std::function<void(int)> action)
{
    every_.push_back(std::move(action));
}

void NullGameRun::push_key(int32_t key, bool down)
{
    const Ref<TNullGraphics> g = null_graphics_driver()->current();
    if (!g || !g->window())
        throw std::runtime_error("the game has no window");
    platform::OSMessage m;
    m.kind = down ? platform::MessageKind::KeyDown : platform::MessageKind::KeyUp;
    m.window = g->window()->id();
    m.key = key;
    platform::null_message_pump().push(m);
}

void NullGameRun::press(int32_t key) { push_key(key, true); }
void NullGameRun::release(int32_t key) { push_key(key, false); }

void NullGameRun::end_after(int n)
{
    at_frame(n, [this] {
        press(KEY_ESCAPE);
        release(KEY_ESCAPE);
    });
}

int32_t NullGameRun::run()
{
    loop_start_ = calls().size();
    const int32_t result = main_loop();
    split_frames();
    return result;
}

const std::vector<NullCall>& NullGameRun::calls() const { return draw_log().calls(); }

// A pass clears the screen once, first, and flips once, last.
void NullGameRun::split_frames()
{
    frames_.clear();
    const auto& all = calls();
    std::optional<size_t> begin;
    for (size_t i = loop_start_; i < all.size(); ++i) {
        if (all[i].op == NullOp::Clear && !begin)
            begin = i;
        if (all[i].op == NullOp::Flip) {
            if (!begin)
                throw std::runtime_error("a flip without a clear before it");
            frames_.push_back({*begin, i + 1});
            begin.reset();
        }
    }
}

} // namespace vantrel::test
