// The SDL backend's table.
#include "platform/sdl/sdl_platform.h"

#include "platform/backend.h"
#include "platform/sdl/sdl_audio_output.h"
#include "platform/sdl/sdl_video.h"

namespace vantrel::platform {
namespace {

Ref<AudioOutput> default_output() { return create_sdl_audio_output(); }

constexpr WindowSystem sdl_windows{
    .create_gl_window = &sdl::create_gl_window,
    .wrap_gl_window = &sdl::wrap_gl_window,
    .release_current_context = &sdl::release_current_context,
    .gl_proc_address = &sdl::gl_proc_address,
    .desktop_size = &sdl::desktop_size,
    .set_swap_interval = &sdl::set_swap_interval,
    .video_ready = &sdl::video_ready,
    .video_driver_name = &sdl::video_driver_name,
    .display_modes = &sdl::display_modes,
    .last_error = &sdl::last_error,
};

constexpr PlatformBackend sdl_backend{
    .name = "sdl",
    .message_pump = &sdl_message_pump,
    .pointer_position_in = &sdl_pointer_position_in,
    .show_pointer = &sdl_show_pointer,
    .warp_pointer = &sdl_warp_pointer,
    .window_client_size = &sdl_window_client_size,
    .create_audio_output = &default_output,
    .windows = &sdl_windows,
};

} // namespace


void sdl_platform_init() { register_platform_backend(sdl_backend); }

} // namespace vantrel::platform
