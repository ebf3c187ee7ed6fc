// How the game shows its 640 x 480 frame: the plain window, an enlarged
// window, or full-screen at the desktop's own resolution, and the switch
// between window and full-screen that F11 and Alt+Enter ask for while
// flying. The switch keeps the window's context, so the flight, the
// textures, the frame schedule and the music go on untouched.
#pragma once

#include "game/command_line.h"

namespace vantrel {

// Before the window opens: the presentation the options ask for (none for
// the defaults) and the watch for the switch keys.
void screen_mode_init(const LaunchOptions& options);

// Between passes: switches when a switch key was pressed since the last call.
void switch_screen_when_asked();

// Whether the game is full-screen now.
bool game_fullscreen();

} // namespace vantrel
