// The graphics layer's state: the current driver and graphics, the graphics
// opened for the game, and the generation counter.
#include "gfx/graphics.h"

#include "core/error.h"
#include "gfx/frame_pacing.h"
#include "input/hooks.h"
#include "input/polled_input.h"

#include <cstdlib>

namespace vantrel {
namespace {

struct Settings {
    int32_t width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
};

Ref<TDisplayDriver> current_driver;
int32_t default_flags = 0;
TGraphicsModeArray cached_modes;
bool modes_cached = false;
Ref<TGraphics> current;
Settings settings;
Ref<TGraphics> opened;
int32_t seq = 1;
int32_t flip_hook = -1;
bool exit_action_registered = false;
Text graphics_error;
Text title;
const TGraphicsBackend* backend = nullptr;

void forget_modes()
{
    cached_modes.clear();
    modes_cached = false;
}

// Detaches the current graphics from the current driver and forgets it.
void detach_current()
{
    if (current_driver && current)
        current_driver->bind_graphics(nullptr);
    current = nullptr;
    settings = Settings{};
}

void close_opened_graphics_at_exit() { close_opened_graphics(); }

} // namespace

void register_graphics_backend(const TGraphicsBackend& registered) { backend = &registered; }
const TGraphicsBackend* graphics_backend() { return backend; }

void graphics_init()
{
    if (flip_hook >= 0)
        return;
    flip_hook = new_hook_id();
    if (backend && backend->display_driver)
        select_display_driver(backend->display_driver(), GFX_BACK_BUFFER);
}

void select_display_driver(const Ref<TDisplayDriver>& driver, int32_t flags)
{
    if (!same_object(driver, current_driver)) {
        if (current_driver && current)
            current_driver->bind_graphics(nullptr);
        forget_modes();
        current_driver = driver;
    }
    default_flags = flags;
    current = nullptr;
    settings = Settings{};
}

Ref<TDisplayDriver> current_display_driver() { return current_driver; }
int32_t get_default_graphics_flags() { return default_flags; }

const TGraphicsModeArray& list_graphics_modes()
{
    if (!modes_cached && current_driver) {
        cached_modes = current_driver->list_modes();
        // An empty answer (no display yet) is asked again next time.
        modes_cached = !cached_modes.empty();
    }
    return cached_modes;
}

Ref<TGraphics> make_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                             int32_t flags)
{
    if (!current_driver) {
        set_graphics_error(u"No display driver is registered");
        return nullptr;
    }
    graphics_error = Text();
    try {
        Ref<TGraphics> g =
            current_driver->make_graphics(width, height, depth, hertz, flags | default_flags);
        if (!g && graphics_error.empty())
            set_graphics_error(u"The display driver could not make the graphics");
        return g;
    } catch (const TRuntimeError& e) {
        set_graphics_error(e.message());
        return nullptr;
    }
}

void bind_graphics(const Ref<TGraphics>& g)
{
    if (!g) {
        detach_current();
        return;
    }
    const Ref<TDisplayDriver> d = g->driver();
    if (!same_object(d, current_driver)) {
        detach_current();
        forget_modes();
        current_driver = d;
    }
    g->get_settings(settings.width, settings.height, settings.depth, settings.hertz,
                    settings.flags);
    d->bind_graphics(g);
    current = g;
}

void dispose_graphics(const Ref<TGraphics>& graphics)
{
    // g may be a reference to one of the variables cleared below.
    const Ref<TGraphics> g = graphics;
    if (!g)
        return;
    if (same_object(g, opened))
        opened = nullptr;
    if (same_object(g, current))
        bind_graphics(nullptr);
    g->close();
}

void close_opened_graphics()
{
    if (!opened)
        return;
    seq = next_graphics_seq(seq);
    stop_input_polling();
    dispose_graphics(opened);
}

Ref<TGraphics> open_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                             int32_t flags)
{
    close_opened_graphics();
    Ref<TGraphics> g = make_graphics(width, height, depth, hertz, flags | default_flags);
    if (!g)
        return nullptr;
    seq = next_graphics_seq(seq);
    bind_graphics(g);
    start_frame_pacing(*current_driver, depth, hertz);
    opened = g;
    start_input_polling(nullptr);
    if (depth != 0)
        set_pointer_pos(width / 2, height / 2);
    if (!exit_action_registered) {
        exit_action_registered = true;
        std::atexit(&close_opened_graphics_at_exit);
    }
    return g;
}

void flip_frame(int32_t sync)
{
    if (flip_hook >= 0)
        call_hooks(flip_hook, nullptr);
    if (!current_driver)
        return;
    if (sync != -1) {
        current_driver->flip(sync);
        return;
    }
    if (!opened || !same_object(current, opened) || frame_pacing().soft_sync == 0) {
        current_driver->flip(settings.depth != 0 ? 1 : 0);
        return;
    }
    current_driver->submit();
    wait_for_next_frame();
    current_driver->flip(0);
}

Ref<TGraphics> current_graphics() { return current; }
Ref<TGraphics> opened_graphics() { return opened; }
int32_t screen_width() { return settings.width; }
int32_t screen_height() { return settings.height; }
int32_t screen_depth() { return settings.depth; }
int32_t screen_hertz() { return settings.hertz; }
int32_t screen_flags() { return settings.flags; }

int32_t graphics_seq() { return seq; }

int32_t next_graphics_seq(int32_t value)
{
    const auto next = static_cast<int32_t>(static_cast<uint32_t>(value) + 1u);
    return next == 0 ? 1 : next;
}

int32_t flip_hook_id() { return flip_hook; }

Text last_graphics_error() { return graphics_error; }
void set_graphics_error(Text message) { graphics_error = std::move(message); }

void set_presentation(const TPresentation& p)
{
    if (backend && backend->display_driver)
        backend->display_driver()->set_presentation(p);
}

TPresentation presentation()
{
    if (backend && backend->display_driver)
        return backend->display_driver()->presentation();
    return {};
}

void set_app_title(Text text) { title = std::move(text); }
Text app_title() { return title; }

} // namespace vantrel
