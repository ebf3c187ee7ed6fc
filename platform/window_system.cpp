// The window contract's functions, answered by the registered backend's
// window system, or as a system without video would answer.
#include "platform/backend.h"
#include "platform/window.h"

namespace vantrel::platform {
namespace {

const WindowSystem* windows()
{
    const PlatformBackend* backend = platform_backend();
    return backend ? backend->windows : nullptr;
}

// The window system's entry, null when there is none or it has not that one.
template <class Entry>
Entry entry(Entry WindowSystem::*member)
{
    const WindowSystem* w = windows();
    return w ? w->*member : nullptr;
}

} // namespace

Ref<GLWindow> create_gl_window(const WindowSpec& spec, GLWindow* share_with, ContextCheck check)
{
    const auto create = entry(&WindowSystem::create_gl_window);
    return create ? create(spec, share_with, check) : nullptr;
}

Ref<GLWindow> wrap_gl_window(uint64_t native, const GLFormat& format, GLWindow* share_with,
                             ContextCheck check)
{
    const auto wrap = entry(&WindowSystem::wrap_gl_window);
    return wrap ? wrap(native, format, share_with, check) : nullptr;
}

void release_current_context()
{
    if (const auto release = entry(&WindowSystem::release_current_context))
        release();
}

void* gl_proc_address(const char* name)
{
    const auto look_up = entry(&WindowSystem::gl_proc_address);
    return look_up ? look_up(name) : nullptr;
}

bool desktop_size(int32_t& width, int32_t& height)
{
    const auto size = entry(&WindowSystem::desktop_size);
    return size && size(width, height);
}

bool set_swap_interval(int32_t interval)
{
    const auto set = entry(&WindowSystem::set_swap_interval);
    return set && set(interval);
}

bool video_ready()
{
    const auto ready = entry(&WindowSystem::video_ready);
    return ready && ready();
}

std::string video_driver_name()
{
    const auto name = entry(&WindowSystem::video_driver_name);
    return name ? name() : std::string();
}

std::vector<DisplayMode> display_modes()
{
    const auto modes = entry(&WindowSystem::display_modes);
    return modes ? modes() : std::vector<DisplayMode>();
}

Text last_error()
{
    if (const auto error = entry(&WindowSystem::last_error))
        return error();
    return Text(u"No window system to open a window on");
}

} // namespace vantrel::platform
