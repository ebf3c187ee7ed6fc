// Which of our windows the pointer is over, with the MouseEnter and
// MouseLeave events that a change emits, and the pointer's visibility (hidden
// only while it is over a window after hide_pointer).
#pragma once

#include "core/object.h"
#include "platform/message_pump.h"

#include <cstdint>

namespace vantrel {

// A motion message: the window counts as entered when the position lies in
// its client area.
void track_pointer_motion(const platform::OSMessage& motion, const Ref<TObject>& source);
// The pointer left the window (the window system told us).
void track_pointer_left(uint32_t window);
// The window the pointer is known to be over, 0 when none.
uint32_t tracked_window();

void set_pointer_visible_flag(bool visible);
bool pointer_visible_flag();

} // namespace vantrel
