#include "game/screen_mode.h"

#include "gfx/graphics.h"
#include "input/events.h"
#include "input/hooks.h"
#include "input/keycodes.h"
#include "input/system_driver.h"

namespace vantrel {
namespace {

constexpr int32_t KEY_F11 = KEY_F1 + 10;

int32_t window_scale = 1;
int32_t switch_requests = 0;

// Sees every key on its way to the polled input and lets it pass; key
// repeats do not switch again.
Ref<TObject> watch_switch_keys(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    const auto event = ref_cast<TEvent>(data);
    if (event && event->id == EVENT_KEY_DOWN &&
        (event->data == KEY_F11 || (event->data == KEY_RETURN && (event->mods & MODIFIER_ALT))))
        ++switch_requests;
    return data;
}

TPresentation presentation_for(bool fullscreen)
{
    TPresentation p;
    p.window_scale = window_scale;
    p.fill_desktop = fullscreen;
    return p;
}

} // namespace

void screen_mode_init(const LaunchOptions& options)
{
    window_scale = options.window_scale;
    switch_requests = 0;
    const TPresentation wanted = presentation_for(options.fullscreen);
    if (!(wanted == presentation()))
        set_presentation(wanted);
    // Attached once however often this runs, and again after the input
    // layer's state was reset.
    detach_hook(EVENT_HOOK, &watch_switch_keys, nullptr);
    attach_hook(EVENT_HOOK, &watch_switch_keys, nullptr, 0);
}

void switch_screen_when_asked()
{
    if (switch_requests == 0)
        return;
    // Two presses between passes cancel out.
    const bool flip = (switch_requests % 2) != 0;
    switch_requests = 0;
    if (flip)
        set_presentation(presentation_for(!game_fullscreen()));
}

bool game_fullscreen() { return presentation().fill_desktop; }

} // namespace vantrel
