#include "gfx/gfx_state.h"

#include "gfx/immortal.h"

#include <utility>

namespace vantrel {

GfxState& gfx_state()
{
    static Immortal<GfxState> state;
    return state.get();
}

void GfxState::reset()
{
    end_render_target();
    close_opened_graphics();
    if (driver && current)
        driver->bind_graphics(nullptr);
    GfxState old;
    std::swap(*this, old);
    seq = next_graphics_seq(old.seq);
    exit_action_registered = old.exit_action_registered;
}

} // namespace vantrel
