// The SDL video binding: starting video, the last error, and the window
// contract's functions (platform/window.h) as the SDL window system gives
// them (the SDL backend's table).
#pragma once

#include "platform/window.h"

#include <cstdint>
#include <string>

namespace vantrel::platform::sdl {

// Starts SDL's video subsystem once. Without SDL_VIDEODRIVER the drivers are
// tried in SDL's order, skipping those whose windows nobody can see. False
// (with the reason in last_error) when no driver starts.
bool start_video();

// Records a failure: what went wrong, then SDL's own message when it has one.
void fail(const std::string& what);
void fail_with_sdl(const std::string& what);

Ref<GLWindow> create_gl_window(const WindowSpec& spec, GLWindow* share_with, ContextCheck check);
Ref<GLWindow> wrap_gl_window(uint64_t native, const GLFormat& format, GLWindow* share_with,
                             ContextCheck check);
void release_current_context();
void* gl_proc_address(const char* name);
bool desktop_size(int32_t& width, int32_t& height);
bool set_swap_interval(int32_t interval);
bool video_ready();
// How many times any window's buffers were swapped.
uint64_t frames_shown();
std::string video_driver_name();
std::vector<DisplayMode> display_modes();
Text last_error();

} // namespace vantrel::platform::sdl
