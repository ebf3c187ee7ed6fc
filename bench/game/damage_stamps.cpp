// Frame intervals of any program's window, seen from the X server:
//
//   damage_stamps WINDOW SECONDS
//
// Every frame a program shows reaches the window as drawing, which the X
// Damage extension reports to other clients. This works where the buffer
// swap cannot be interposed, such as a Windows build under Wine, and sees
// the Linux build the same way, so the two compare. The window and all its
// descendants are watched (Wine draws OpenGL into a child window); reports
// closer together than 3 ms are one frame. After SECONDS it prints the
// distribution of the intervals on standard error.
#include "interval_stats.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double now_ms()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

void watch_tree(Display* display, Window window, std::vector<Damage>& damages)
{
    damages.push_back(XDamageCreate(display, window, XDamageReportNonEmpty));
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count; ++i)
            watch_tree(display, children[i], damages);
        XFree(children);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: damage_stamps WINDOW SECONDS\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    int event_base = 0, error_base = 0;
    if (!display || !XDamageQueryExtension(display, &event_base, &error_base)) {
        std::fprintf(stderr, "damage_stamps: no display with the Damage extension\n");
        return 1;
    }
    std::vector<Damage> damages;
    watch_tree(display, static_cast<Window>(std::strtoul(argv[1], nullptr, 0)), damages);
    const double end = now_ms() + 1000.0 * std::atof(argv[2]);
    std::vector<double> frames;
    while (now_ms() < end) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != event_base + XDamageNotify)
                continue;
            XDamageSubtract(display, reinterpret_cast<XDamageNotifyEvent*>(&event)->damage, None, None);
            const double t = now_ms();
            if (frames.empty() || t - frames.back() >= 3.0)
                frames.push_back(t);
        }
        timespec pause{0, 200000}; // 0.2 ms: finer than any interval of interest
        nanosleep(&pause, nullptr);
    }
    std::vector<double> intervals;
    for (size_t i = 1; i < frames.size(); ++i)
        intervals.push_back(frames[i] - frames[i - 1]);
    vantrel::bench::print_intervals("frame intervals (X damage)", intervals);
    XCloseDisplay(display);
    return 0;
}
