// NullWindow and the list of open ones.
#include "platform/null/null_window.h"

#include <algorithm>
#include <vector>

namespace vantrel::platform {
namespace {

struct NullWindows {
    uint32_t last_id = 0;
    std::vector<NullWindow*> open; // not owned: a window leaves when closed or released
};

NullWindows& windows()
{
    static NullWindows w;
    return w;
}

void forget(NullWindow* window)
{
    auto& open = windows().open;
    open.erase(std::remove(open.begin(), open.end(), window), open.end());
}

} // namespace

NullWindow::NullWindow(uint32_t window_id, std::string window_caption, int32_t client_width,
                       int32_t client_height)
    : caption(std::move(window_caption)), width(client_width), height(client_height),
      id_(window_id)
{
}

void NullWindow::close()
{
    if (closed_)
        return;
    closed_ = true;
    forget(this);
}

Ref<NullWindow> create_null_window(std::string caption, int32_t width, int32_t height)
{
    auto window = make_ref<NullWindow>(++windows().last_id, std::move(caption), width, height);
    windows().open.push_back(window.get());
    return window;
}

Ref<NullWindow> find_null_window(uint32_t id)
{
    for (NullWindow* w : windows().open)
        if (w->id() == id)
            return Ref<NullWindow>(w);
    return nullptr;
}

} // namespace vantrel::platform
