// SDL video start-up, the swap interval, display modes and error reporting.
#include "platform/sdl/sdl_video.h"

#include "platform/unicode.h"
#include "platform/window.h"

#include <SDL.h>

#include <cstdlib>
#include <string_view>

namespace vantrel::platform {
namespace {

Text last_message;
bool video_started = false;

// Drivers SDL falls back to when there is no display: a game that runs in
// one can neither be seen nor be told to quit.
bool invisible_driver(std::string_view name)
{
    return name == "offscreen" || name == "dummy" || name == "evdev";
}

void set_common_hints()
{
    // The game handles its own signals; SDL's would turn Ctrl-C into an
    // SDL_QUIT event that nothing reads while the hidden window exists.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Capture is the display driver's decision (windowed mode only).
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
}

// Tries each visible driver in SDL's order of preference. The hint
// overrides the environment: SDL would read an empty SDL_VIDEODRIVER as
// "any driver" and could settle on an invisible one.
bool start_visible_driver()
{
    std::string reasons;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* name = SDL_GetVideoDriver(i);
        if (!name || invisible_driver(name))
            continue;
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, name, SDL_HINT_OVERRIDE);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
            return true;
        reasons += reasons.empty() ? "" : "; ";
        reasons += SDL_GetError();
    }
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    sdl::fail("No display to open a window on (" + (reasons.empty() ? "no video driver" : reasons) + ")");
    return false;
}

} // namespace

namespace sdl {

void fail(const std::string& what) { last_message = Text(utf16_from_utf8(what)); }

void fail_with_sdl(const std::string& what)
{
    const char* reason = SDL_GetError();
    fail(reason && *reason ? what + ": " + reason : what);
}

bool start_video()
{
    if (video_started)
        return true;
    set_common_hints();
    const char* named = std::getenv("SDL_VIDEODRIVER");
    if (named && *named) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            fail_with_sdl("Cannot start video");
            return false;
        }
    } else if (!start_visible_driver()) {
        return false;
    }
    // The screen saver stays away while the game runs.
    SDL_DisableScreenSaver();
    video_started = true;
    return true;
}

bool video_ready() { return video_started; }

std::string video_driver_name()
{
    const char* name = video_started ? SDL_GetCurrentVideoDriver() : nullptr;
    return name ? name : "";
}

void release_current_context()
{
    if (video_started)
        SDL_GL_MakeCurrent(nullptr, nullptr);
}

bool set_swap_interval(int32_t interval)
{
    return video_started && SDL_GL_SetSwapInterval(interval) == 0;
}

std::vector<DisplayMode> display_modes()
{
    std::vector<DisplayMode> modes;
    if (!start_video())
        return modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0)
            modes.push_back({mode.w, mode.h, static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format)),
                             mode.refresh_rate});
    }
    return modes;
}

bool desktop_size(int32_t& width, int32_t& height)
{
    SDL_DisplayMode mode;
    if (!sdl::start_video() || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return false;
    width = mode.w;
    height = mode.h;
    return true;
}

void* gl_proc_address(const char* name)
{
    return video_started ? SDL_GL_GetProcAddress(name) : nullptr;
}

Text last_error() { return last_message; }

} // namespace sdl
} // namespace vantrel::platform
