#include "input/mouse_tracking.h"

#include "input/events.h"

namespace vantrel {
namespace {

uint32_t tracked = 0;
Ref<TObject> tracked_source;
int32_t last_x = 0, last_y = 0;
bool visible_flag = true;

void apply_visibility()
{
    platform::show_pointer(visible_flag || tracked == 0);
}

// Moves the tracking to window (0: none), emitting the leave and enter.
void track(uint32_t window, const Ref<TObject>& source, int32_t x, int32_t y)
{
    if (window == tracked)
        return;
    if (tracked != 0) {
        int32_t lx = last_x, ly = last_y;
        platform::pointer_position_in(tracked, lx, ly);
        send_event(new_event(EVENT_MOUSE_LEAVE, tracked_source, 0, 0, lx, ly, nullptr));
    }
    tracked = window;
    tracked_source = window ? source : Ref<TObject>();
    apply_visibility();
    if (window != 0)
        send_event(new_event(EVENT_MOUSE_ENTER, source, 0, 0, x, y, nullptr));
}

} // namespace

void track_pointer_motion(const platform::OSMessage& motion, const Ref<TObject>& source)
{
    const bool inside = motion.x >= 0 && motion.x < motion.client_width && motion.y >= 0 &&
                        motion.y < motion.client_height;
    last_x = motion.x;
    last_y = motion.y;
    track(inside ? motion.window : 0, source, motion.x, motion.y);
}

void track_pointer_left(uint32_t window)
{
    if (window == tracked)
        track(0, nullptr, 0, 0);
}

uint32_t tracked_window() { return tracked; }

void set_pointer_visible_flag(bool visible)
{
    visible_flag = visible;
    apply_visibility();
}

bool pointer_visible_flag() { return visible_flag; }

} // namespace vantrel
