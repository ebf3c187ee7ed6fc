// The scenery's per-pass operations: each draws its kind of object under
// the drawing state it needs and moves it, retires what has left the screen
// and sometimes spawns more. draw_frame calls them in this order.
#pragma once

namespace vantrel {

// Drawn in whatever blend mode the previous drawing left, then moved.
void update_draw_island();
// White points with a random alpha each, blending off.
void update_draw_specks();
// Faint additive glows of the spark picture, scaled 5 to 10 times.
void update_draw_clouds();

} // namespace vantrel
