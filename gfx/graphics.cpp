// The graphics layer's state: the current driver and graphics, the graphics
// opened for the game, and the generation counter.
#include "gfx/graphics.h"

#include "core/error.h"
#include "gfx/frame_pacing.h"
#include "gfx/gfx_state.h"
#include "input/hooks.h"
#include "input/polled_input.h"

#include <cstdlib>

namespace vantrel {
namespace {

GfxState& gfx() { return gfx_state(); }

void forget_modes()
{
    GfxState& s = gfx();
    s.modes.clear();
    s.modes_cached = false;
}

// Detaches the current graphics from the current driver and forgets it.
void detach_current()
{
    GfxState& s = gfx();
    if (s.driver && s.current)
        s.driver->bind_graphics(nullptr);
    s.current = nullptr;
    s.settings = GraphicsSettings{};
}

void close_opened_graphics_at_exit() { close_opened_graphics(); }

} // namespace

void register_graphics_backend(const TGraphicsBackend& registered) { gfx().backend = &registered; }
const TGraphicsBackend* graphics_backend() { return gfx().backend; }

void graphics_init()
{
    GfxState& s = gfx();
    if (s.flip_hook >= 0)
        return;
    s.flip_hook = new_hook_id();
    if (s.backend && s.backend->display_driver)
        select_display_driver(s.backend->display_driver(), GFX_BACK_BUFFER);
}

void select_display_driver(const Ref<TDisplayDriver>& driver, int32_t flags)
{
    GfxState& s = gfx();
    if (!same_object(driver, s.driver)) {
        if (s.driver && s.current)
            s.driver->bind_graphics(nullptr);
        forget_modes();
        s.driver = driver;
    }
    s.default_flags = flags;
    s.current = nullptr;
    s.settings = GraphicsSettings{};
}

Ref<TDisplayDriver> current_display_driver() { return gfx().driver; }
int32_t get_default_graphics_flags() { return gfx().default_flags; }

const TGraphicsModeArray& list_graphics_modes()
{
    GfxState& s = gfx();
    if (!s.modes_cached && s.driver) {
        s.modes = s.driver->list_modes();
        // An empty answer (no display yet) is asked again next time.
        s.modes_cached = !s.modes.empty();
    }
    return s.modes;
}

Ref<TGraphics> make_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                             int32_t flags)
{
    GfxState& s = gfx();
    if (!s.driver) {
        set_graphics_error(u"No display driver is registered");
        return nullptr;
    }
    s.error = Text();
    try {
        Ref<TGraphics> g =
            s.driver->make_graphics(width, height, depth, hertz, flags | s.default_flags);
        if (!g && s.error.empty())
            set_graphics_error(u"The display driver could not make the graphics");
        return g;
    } catch (const TRuntimeError& e) {
        set_graphics_error(e.message());
        return nullptr;
    }
}

void bind_graphics(const Ref<TGraphics>& g)
{
    GfxState& s = gfx();
    end_render_target();
    if (!g) {
        detach_current();
        return;
    }
    const Ref<TDisplayDriver> d = g->driver();
    if (!same_object(d, s.driver)) {
        detach_current();
        forget_modes();
        s.driver = d;
    }
    g->get_settings(s.settings.width, s.settings.height, s.settings.depth, s.settings.hertz,
                    s.settings.flags);
    d->bind_graphics(g);
    s.current = g;
}

void dispose_graphics(const Ref<TGraphics>& graphics)
{
    GfxState& s = gfx();
    // g may be a reference to one of the variables cleared below.
    const Ref<TGraphics> g = graphics;
    if (!g)
        return;
    if (same_object(g, s.opened))
        s.opened = nullptr;
    if (same_object(g, s.current))
        bind_graphics(nullptr);
    g->close();
}

void close_opened_graphics()
{
    GfxState& s = gfx();
    if (!s.opened)
        return;
    s.seq = next_graphics_seq(s.seq);
    stop_input_polling();
    dispose_graphics(s.opened);
}

Ref<TGraphics> open_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                             int32_t flags)
{
    GfxState& s = gfx();
    close_opened_graphics();
    Ref<TGraphics> g = make_graphics(width, height, depth, hertz, flags | s.default_flags);
    if (!g)
        return nullptr;
    s.seq = next_graphics_seq(s.seq);
    bind_graphics(g);
    start_frame_pacing(*s.driver, depth, hertz);
    s.opened = g;
    start_input_polling(nullptr);
    if (depth != 0)
        set_pointer_pos(width / 2, height / 2);
    if (!s.exit_action_registered) {
        s.exit_action_registered = true;
        std::atexit(&close_opened_graphics_at_exit);
    }
    return g;
}

void flip_frame(int32_t sync)
{
    GfxState& s = gfx();
    end_render_target(); // the frame shown is the window's
    if (s.flip_hook >= 0)
        call_hooks(s.flip_hook, nullptr);
    if (!s.driver)
        return;
    if (sync != -1) {
        s.driver->flip(sync);
        return;
    }
    if (!s.opened || !same_object(s.current, s.opened) || frame_pacing().soft_sync == 0) {
        s.driver->flip(s.settings.depth != 0 ? 1 : 0);
        return;
    }
    s.driver->submit();
    if (!s.host_paced)
        wait_for_next_frame();
    s.driver->flip(0);
}

void set_host_paced(bool on) { gfx().host_paced = on; }
bool host_paced() { return gfx().host_paced; }

Ref<TGraphics> current_graphics() { return gfx().current; }
Ref<TGraphics> opened_graphics() { return gfx().opened; }
int32_t screen_width() { return gfx().settings.width; }
int32_t screen_height() { return gfx().settings.height; }
int32_t screen_depth() { return gfx().settings.depth; }
int32_t screen_hertz() { return gfx().settings.hertz; }
int32_t screen_flags() { return gfx().settings.flags; }

int32_t graphics_seq() { return gfx().seq; }

int32_t next_graphics_seq(int32_t value)
{
    const auto next = static_cast<int32_t>(static_cast<uint32_t>(value) + 1u);
    return next == 0 ? 1 : next;
}

int32_t flip_hook_id() { return gfx().flip_hook; }

Text last_graphics_error() { return gfx().error; }
void set_graphics_error(Text message) { gfx().error = std::move(message); }

void set_presentation(const TPresentation& p)
{
    GfxState& s = gfx();
    if (s.backend && s.backend->display_driver)
        s.backend->display_driver()->set_presentation(p);
}

TPresentation presentation()
{
    GfxState& s = gfx();
    if (s.backend && s.backend->display_driver)
        return s.backend->display_driver()->presentation();
    return {};
}

void set_app_title(Text text) { gfx().title = std::move(text); }
Text app_title() { return gfx().title; }

} // namespace vantrel
