// The program's entry, start-up and frame loop.
//
// Start-up registers the embedded assets, initialises the engine, opens the
// 640 x 480 window, loads the pictures and makes the scene lists; the loop
// then runs one pass per shown frame until Escape or the close box. Movement
// is counted in passes; the frame pacing alone sets the game's speed.
#pragma once

#include "game/command_line.h"

#include <cstdint>

namespace vantrel {

inline constexpr int32_t MUSIC_CYCLE_MS = 16000;

// Registers the eleven embedded assets in their order. Defined by the
// program that embeds them (vantrel_embed_assets with this function name),
// so the game library itself carries no data.
void register_game_assets();

// Registers the window icon, a picture apart from the game's own assets.
// Defined by the same programs, after them.
void register_icon_asset();

// Where the window icon is read from.
inline constexpr char16_t WINDOW_ICON_LOCATION[] = u"incbin::vantrel-64.png";

// How start_game opens the window; the defaults give the plain 640 x 480
// window at 32,32. Set before game_entry.
void set_launch_options(const LaunchOptions& options);
LaunchOptions launch_options();

// Runs game_main, then ends the process with status 0 through the standard
// exit, so the exit actions (closing the window) run. A second call returns
// 0 at once.
int game_entry();

// Runs once: start_game, then main_loop. Returns 0 when the loop ends.
int32_t game_main();

// The start-up sequence up to the loop: start_engine, open_game_window,
// prepare_scene. Timing programs call the three themselves.
void start_game();

// Registers the assets, initialises the engine on the launch options'
// renderer (the OpenGL one unless --renderer names another), gives
// the window its icon and starts decoding the pictures and loops
// (asset_decoding.h).
void start_engine();
// The same on the backend register_backend makes known in place of the
// OpenGL one (null_backend_init: the game without a display, for tests).
void start_engine(void (*register_backend)());

// Opens the window as the launch options say. When it cannot be opened it
// says why on standard error and ends the process with status 1.
void open_game_window();

// The followers, the blend mode, the pictures and the scene lists.
void prepare_scene();

// The frame loop; returns 0 after Escape or a close request.
int32_t main_loop();

// What main_loop does before its first pass.
void begin_loop();
// One turn of main_loop; false, without a pass, once Escape or a close
// request has ended the game, and on every call after that.
bool step_pass();

// For a host that paces passes by its own frame clock: start_game and
// begin_loop with the pacing sleep off; then step_pass once per frame.
void start_hosted_game();

// One pass: the music timer, the frame, the keys, the bird and the wind.
void run_pass();

} // namespace vantrel
