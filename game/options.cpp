#include "game/options.h"

namespace vantrel {

namespace {

constexpr CommandOption options[] = {
    {"--fullscreen", "", "Start full-screen at the desktop's own resolution, the frame scaled to fit."},
    {"--window-scale", "N", "Open a window N times 640 x 480 (N from 1 to 8), its client area at 32,32."},
#ifdef VANTREL_HAVE_GLES2
    {"--renderer", "NAME", "Draw with the renderer NAME: gl (OpenGL, the default) or gles2 (OpenGL ES 2.0)."},
#else
    // A build without the ES 2.0 renderer offers only the first one.
    {"--renderer", "NAME", "Draw with the renderer NAME: gl (OpenGL, the only one in this build)."},
#endif
    {"--help", "", "Print this help and exit."},
    {"--version", "", "Print the version and exit."},
};

constexpr KeyBinding keys[] = {
    {"Z or Left arrow", "flap the left wing"},
    {"M or Right arrow", "flap the right wing"},
    {"both flap keys together", "climb, until the bird tires"},
    {"A, K or Up arrow", "zoom the island in"},
    {"Down arrow or Space", "zoom the island out"},
    {"F11 or Alt+Enter", "switch between the window and full-screen"},
    {"Escape, or the window's close box", "quit"},
    {"gamepad: left shoulder button or trigger", "flap the left wing"},
    {"gamepad: right shoulder button or trigger", "flap the right wing"},
    {"gamepad: D-pad or left stick up", "zoom the island in"},
    {"gamepad: D-pad or left stick down", "zoom the island out"},
    {"gamepad: Back", "quit"},
};

} // namespace

std::span<const CommandOption> command_options() { return options; }
std::span<const KeyBinding> key_bindings() { return keys; }

} // namespace vantrel
