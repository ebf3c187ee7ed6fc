// Window-system backends: what the portable layers ask of the window system
// beyond the windows themselves.
//
// The input layer takes its messages and pointer services from here, and the
// audio layer its default output. A backend library fills the table in and
// its init function registers it: platform/sdl (sdl_platform_init, the
// program's) or platform/null (null_platform_init, for tests and machines
// without a display). The program links the backend it wants and registers
// it before the engine starts; registering starts nothing. With no backend
// registered the calls answer as a window system with no windows and no
// sound card would. Main thread only.
#pragma once

#include "core/object.h"
#include "platform/audio_output.h"
#include "platform/message_pump.h"

#include <cstdint>

namespace vantrel::platform {

struct WindowSystem;

struct PlatformBackend {
    const char* name = "";
    MessagePump& (*message_pump)() = nullptr;
    bool (*pointer_position_in)(uint32_t window, int32_t& x, int32_t& y) = nullptr;
    void (*show_pointer)(bool visible) = nullptr;
    void (*warp_pointer)(int32_t x, int32_t y) = nullptr;
    bool (*window_client_size)(uint32_t window, int32_t& width, int32_t& height) = nullptr;
    Ref<AudioOutput> (*create_audio_output)() = nullptr;
    const WindowSystem* windows = nullptr; // platform/window.h; null: no windows
};

// Makes the backend the one in use; it must outlive its use (backends keep
// theirs in static storage). Registering again replaces the earlier one.
void register_platform_backend(const PlatformBackend& backend);
// The registered backend, null when none.
const PlatformBackend* platform_backend();

} // namespace vantrel::platform
