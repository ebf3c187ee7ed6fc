#include "x11_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vantrel::test {
namespace {

Display* display()
{
    static Display* d = XOpenDisplay(nullptr);
    return d;
}

int ignore_errors(Display*, XErrorEvent*) { return 0; }

int shift_of(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

} // namespace

ScreenImage capture_screen(int32_t x, int32_t y, int32_t width, int32_t height)
{
    ScreenImage out;
    Display* d = display();
    if (!d)
        return out;
    XSync(d, False);
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image)
        return out;
    out.width = width;
    out.height = height;
    out.pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    const int rs = shift_of(image->red_mask), gs = shift_of(image->green_mask),
              bs = shift_of(image->blue_mask);
    for (int32_t row = 0; row < height; ++row)
        for (int32_t col = 0; col < width; ++col) {
            const unsigned long p = XGetPixel(image, col, row);
            out.pixels.push_back({static_cast<int>((p & image->red_mask) >> rs),
                                  static_cast<int>((p & image->green_mask) >> gs),
                                  static_cast<int>((p & image->blue_mask) >> bs)});
        }
    XDestroyImage(image);
    return out;
}

uint64_t make_test_window(int32_t width, int32_t height, bool mapped)
{
    Display* d = display();
    XVisualInfo info;
    if (!d || !XMatchVisualInfo(d, DefaultScreen(d), 24, TrueColor, &info))
        return 0;
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(d, DefaultRootWindow(d), info.visual, AllocNone);
    attributes.border_pixel = 0;
    const Window w = XCreateWindow(d, DefaultRootWindow(d), 100, 100, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), 0, info.depth, InputOutput,
                                   info.visual, CWColormap | CWBorderPixel, &attributes);
    if (mapped)
        XMapWindow(d, w);
    XSync(d, False);
    return w;
}

bool window_exists(uint64_t window)
{
    Display* d = display();
    XSync(d, False);
    XErrorHandler old = XSetErrorHandler(&ignore_errors);
    XWindowAttributes attributes;
    const Status found = XGetWindowAttributes(d, static_cast<Window>(window), &attributes);
    XSync(d, False);
    XSetErrorHandler(old);
    return found != 0;
}

bool window_mapped(uint64_t window)
{
    Display* d = display();
    XWindowAttributes attributes;
    XSync(d, False);
    return XGetWindowAttributes(d, static_cast<Window>(window), &attributes) &&
           attributes.map_state != IsUnmapped;
}

void destroy_test_window(uint64_t window)
{
    if (Display* d = display()) {
        XDestroyWindow(d, static_cast<Window>(window));
        XSync(d, False);
    }
}

} // namespace vantrel::test
