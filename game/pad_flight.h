// The game's gamepad controls: a shoulder button or trigger flaps the wing
// on its side, the D-pad or left stick up and down zoom, Back quits.
#pragma once

#include "game/flight.h"

namespace vantrel {

// Adds what the connected pads ask for to the keys already read.
void add_pad_flight(FlightKeys& keys);
// Whether Back was pressed on any pad since the last call.
bool pad_quit_hit();

} // namespace vantrel
