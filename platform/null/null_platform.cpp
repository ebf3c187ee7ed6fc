// The null backend's table.
#include "platform/null/null_platform.h"

#include "platform/backend.h"
#include "platform/null/null_audio_output.h"
#include "platform/null/null_window.h"

namespace vantrel::platform {
namespace {

MessagePump& pump() { return null_message_pump(); }

bool pointer_in(uint32_t window, int32_t& x, int32_t& y)
{
    if (!find_null_window(window))
        return false;
    x = null_pointer().x;
    y = null_pointer().y;
    return true;
}

void show(bool visible) { null_pointer().visible = visible; }

void warp(int32_t x, int32_t y)
{
    NullPointer& p = null_pointer();
    p.x = x;
    p.y = y;
    ++p.warps;
}

bool client_size(uint32_t window, int32_t& width, int32_t& height)
{
    const Ref<NullWindow> w = find_null_window(window);
    if (!w)
        return false;
    width = w->width;
    height = w->height;
    return true;
}

Ref<AudioOutput> audio_output()
{
    auto output = make_ref<NullAudioOutput>();
    output->virtual_rate = true;
    return output;
}

constexpr PlatformBackend null_backend{
    .name = "null",
    .message_pump = &pump,
    .pointer_position_in = &pointer_in,
    .show_pointer = &show,
    .warp_pointer = &warp,
    .window_client_size = &client_size,
    .create_audio_output = &audio_output,
};

} // namespace

void null_platform_init() { register_platform_backend(null_backend); }

ScriptedPump& null_message_pump()
{
    static ScriptedPump pump;
    return pump;
}

NullPointer& null_pointer()
{
    static NullPointer pointer;
    return pointer;
}

} // namespace vantrel::platform
