#include "x11_window_icon.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace vantrel::testing {

namespace {

std::vector<uint32_t> read_once(Display* display, Window window, Atom property)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<uint32_t> values;
    if (XGetWindowProperty(display, window, property, 0, 1 << 20, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        type == XA_CARDINAL && format == 32) {
        // Xlib hands 32-bit items over as longs.
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        for (unsigned long i = 0; i < count; ++i)
            values.push_back(static_cast<uint32_t>(items[i]));
    }
    if (data)
        XFree(data);
    return values;
}

} // namespace

std::vector<uint32_t> window_icon_property(uint64_t x11_window)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display || x11_window == 0)
        return {};
    const Atom property = XInternAtom(display, "_NET_WM_ICON", False);
    std::vector<uint32_t> values;
    for (int attempt = 0; attempt < 20 && values.empty(); ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        values = read_once(display, static_cast<Window>(x11_window), property);
    }
    XCloseDisplay(display);
    return values;
}

} // namespace vantrel::testing
