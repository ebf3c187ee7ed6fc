// The SDL backend's table.
#include "platform/sdl/sdl_platform.h"

#include "platform/backend.h"
#include "platform/sdl/sdl_audio_output.h"

namespace vantrel::platform {
namespace {

Ref<AudioOutput> default_output() { return create_sdl_audio_output(); }

constexpr PlatformBackend sdl_backend{
    .name = "sdl",
    .message_pump = &sdl_message_pump,
    .pointer_position_in = &sdl_pointer_position_in,
    .show_pointer = &sdl_show_pointer,
    .warp_pointer = &sdl_warp_pointer,
    .window_client_size = &sdl_window_client_size,
    .create_audio_output = &default_output,
};

} // namespace

void sdl_platform_init() { register_platform_backend(sdl_backend); }

} // namespace vantrel::platform
