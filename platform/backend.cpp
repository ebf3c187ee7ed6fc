// The registered window-system backend and the portable entry points that
// forward to it.
#include "platform/backend.h"

#include "platform/platform_state.h"

namespace vantrel::platform {
namespace {

const PlatformBackend* registered() { return platform_state().backend; }

// The pump of a window system with no windows.
class EmptyPump final : public MessagePump {
public:
    bool poll(OSMessage&) override { return false; }
    void wait() override {}
};

} // namespace

void register_platform_backend(const PlatformBackend& backend) { platform_state().backend = &backend; }
const PlatformBackend* platform_backend() { return platform_state().backend; }

MessagePump& system_message_pump()
{
    if (registered() && registered()->message_pump)
        return registered()->message_pump();
    static EmptyPump empty;
    return empty;
}

bool pointer_position_in(uint32_t window, int32_t& x, int32_t& y)
{
    return registered() && registered()->pointer_position_in &&
           registered()->pointer_position_in(window, x, y);
}

void show_pointer(bool visible)
{
    if (registered() && registered()->show_pointer)
        registered()->show_pointer(visible);
}

void warp_pointer(int32_t x, int32_t y)
{
    if (registered() && registered()->warp_pointer)
        registered()->warp_pointer(x, y);
}

bool window_client_size(uint32_t window, int32_t& width, int32_t& height)
{
    return registered() && registered()->window_client_size &&
           registered()->window_client_size(window, width, height);
}

Ref<AudioOutput> create_audio_output()
{
    if (registered() && registered()->create_audio_output)
        return registered()->create_audio_output();
    return nullptr;
}

} // namespace vantrel::platform
