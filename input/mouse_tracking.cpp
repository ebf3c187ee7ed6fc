#include "input/mouse_tracking.h"

#include "input/events.h"
#include "input/input_state.h"

namespace vantrel {
namespace {

PointerTracking& pointer() { return input_state().pointer; }

void apply_visibility()
{
    platform::show_pointer(pointer().visible || pointer().window == 0);
}

// Moves the tracking to window (0: none), emitting the leave and enter.
void track(uint32_t window, const Ref<TObject>& source, int32_t x, int32_t y)
{
    PointerTracking& p = pointer();
    if (window == p.window)
        return;
    if (p.window != 0) {
        int32_t lx = p.last_x, ly = p.last_y;
        platform::pointer_position_in(p.window, lx, ly);
        send_event(new_event(EVENT_MOUSE_LEAVE, p.source, 0, 0, lx, ly, nullptr));
    }
    p.window = window;
    p.source = window ? source : Ref<TObject>();
    apply_visibility();
    if (window != 0)
        send_event(new_event(EVENT_MOUSE_ENTER, source, 0, 0, x, y, nullptr));
}

} // namespace

void track_pointer_motion(const platform::OSMessage& motion, const Ref<TObject>& source)
{
    const bool inside = motion.x >= 0 && motion.x < motion.client_width && motion.y >= 0 &&
                        motion.y < motion.client_height;
    pointer().last_x = motion.x;
    pointer().last_y = motion.y;
    track(inside ? motion.window : 0, source, motion.x, motion.y);
}

void track_pointer_left(uint32_t window)
{
    if (window == pointer().window)
        track(0, nullptr, 0, 0);
}

uint32_t tracked_window() { return pointer().window; }

void set_pointer_visible_flag(bool visible)
{
    pointer().visible = visible;
    apply_visibility();
}

bool pointer_visible_flag() { return pointer().visible; }

} // namespace vantrel
