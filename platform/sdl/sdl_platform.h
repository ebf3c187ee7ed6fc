// The SDL window-system backend: SDL's event queue as the message pump, its
// pointer services and its audio output, registered for the portable layers
// by sdl_platform_init (platform/backend.h). The windows with OpenGL contexts
// (platform/window.h) are SDL's too, for the OpenGL display backend.
#pragma once

#include "platform/message_pump.h"

#include <cstdint>

namespace vantrel::platform {

// Registers the SDL backend. Starts nothing: video starts with the first
// window, audio when an output opens. Safe to call more than once.
void sdl_platform_init();

MessagePump& sdl_message_pump(); // polls nothing until video is up
bool sdl_pointer_position_in(uint32_t window, int32_t& x, int32_t& y);
void sdl_show_pointer(bool visible);
void sdl_warp_pointer(int32_t x, int32_t y);
bool sdl_window_client_size(uint32_t window, int32_t& width, int32_t& height);

} // namespace vantrel::platform
