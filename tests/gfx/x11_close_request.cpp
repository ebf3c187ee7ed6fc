#include "x11_close_request.h"

#include <X11/Xlib.h>

namespace vantrel::testing {

bool send_close_request(uint64_t x11_window)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display || x11_window == 0)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(x11_window);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event) != 0;
    XFlush(display);
    XCloseDisplay(display);
    return sent;
}

} // namespace vantrel::testing
