// Windows with OpenGL contexts, made by the registered platform backend's
// window system: the contract the display driver knows windows by.
//
// Every GLWindow pairs one window with one context of the API its format
// asks for: desktop OpenGL in a compatibility profile (the fixed-function
// pipeline) or OpenGL ES 2.0. Contexts can share
// textures with a context made earlier (the hidden 1 x 1 shared context the
// display driver makes first). Nothing here includes OpenGL: callers that
// must inspect a new context pass a check that runs while it is current.
//
// Video starts lazily on the first window. Unless the user names a driver in
// SDL_VIDEODRIVER, a driver whose windows nobody can see (SDL's offscreen or
// dummy fallback when there is no display) counts as no video at all.
// Failures leave the window system's message in last_error().
#pragma once

#include "core/object.h"
#include "core/text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::platform {

enum class GLApi {
    Compatibility, // desktop OpenGL with the fixed-function pipeline
    ES2,           // OpenGL ES 2.0 or a later version compatible with it
};

// Minimum bit counts of the requested pixel format; 0 asks for none.
struct GLFormat {
    GLApi api = GLApi::Compatibility;
    bool double_buffer = false;
    int32_t alpha_bits = 0;
    int32_t depth_bits = 0;
    int32_t stencil_bits = 0;
    int32_t accum_bits = 0;
};

enum class WindowStyle {
    Hidden,    // never shown, borderless: the shared context's window
    Captioned, // title bar and close box, no sizing border
    Popup,     // borderless
};

struct WindowSpec {
    std::string caption; // UTF-8
    WindowStyle style = WindowStyle::Captioned;
    int32_t x = 0, y = 0; // the client area's top-left corner on the screen
    int32_t width = 1, height = 1;
    GLFormat format;
};

// A window with its OpenGL context. Destroying the object (or close())
// deletes the context, releasing it first if it is current, then the window.
class GLWindow : public TObject {
public:
    // The id the window's messages carry (OSMessage::window).
    virtual uint32_t id() const = 0;
    virtual void client_size(int32_t& width, int32_t& height) const = 0;
    // The client area's top-left corner in screen coordinates.
    virtual void client_origin(int32_t& x, int32_t& y) const = 0;
    virtual std::string caption() const = 0;
    virtual bool resizable() const = 0;
    virtual bool visible() const = 0;
    virtual void show() = 0;

    // Makes this window's context current on the calling thread.
    virtual bool make_current() = 0;
    // Whether this window's context is the thread's current one.
    virtual bool is_current() const = 0;
    virtual void swap_buffers() = 0;

    // Keeps pointer messages coming while the pointer is outside the window.
    virtual void capture_pointer(bool on) = 0;
    virtual bool pointer_captured() const = 0;

    // Gives the window the picture the window manager and task bar show for
    // it: width x height pixels, rows of R, G, B, A bytes, pitch bytes apart.
    // The pixels are copied. False when there is no window or the size is
    // not positive.
    virtual bool set_icon(const uint8_t* rgba, int32_t width, int32_t height, int32_t pitch) = 0;

    // The window system's own handle (the X11 window id), 0 when unknown.
    virtual uint64_t native_handle() const = 0;

    // The OpenGL drawable's size in pixels (the client size, or more on a
    // high-density display).
    virtual void drawable_size(int32_t& width, int32_t& height) const = 0;
    // Leaves any full-screen state, then puts the client area at (x, y)
    // with that size.
    virtual void set_client_rect(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    // Covers the whole desktop at its own resolution; the display mode stays.
    virtual bool fill_desktop() = 0;
    // Full-screen in the display mode given; false when the display does not
    // offer exactly that mode (hertz 0: any rate) or will not switch.
    virtual bool enter_display_mode(int32_t width, int32_t height, int32_t bits_per_pixel,
                                    int32_t hertz) = 0;
    // Leaves full-screen; a changed display mode goes back to the desktop's.
    virtual void leave_fullscreen() = 0;
    virtual bool fullscreen() const = 0;
    virtual void minimise() = 0;
    // Sets the swap interval of this window's context (made current for
    // the call, the previous context current again after).
    virtual bool set_swap_interval(int32_t interval) = 0;

    virtual void close() = 0;
    virtual bool closed() const = 0;
};

// Runs while the new context is current, before create_gl_window returns;
// false rejects the context (for instance one without the fixed-function
// pipeline), with reason as the error message.
using ContextCheck = bool (*)(std::string& reason);

// A new window with a context of the requested format, sharing textures with
// share_with's context when given. The window is not shown and the thread's
// current context is what it was before. Null when video, the window, the
// pixel format or the context cannot be had; last_error() then says why.
Ref<GLWindow> create_gl_window(const WindowSpec& spec, GLWindow* share_with,
                               ContextCheck check = nullptr);

// A window made by someone else (the X11 window id), for wrap_gl_window.
class NativeWindow final : public TObject {
public:
    explicit NativeWindow(uint64_t window_handle) : handle(window_handle) {}
    uint64_t handle;
};

// A context drawing into an existing native window, which the GLWindow
// neither shows nor destroys: close() deletes the context only. Null when
// the window cannot be taken or has no matching pixel format.
Ref<GLWindow> wrap_gl_window(uint64_t native, const GLFormat& format, GLWindow* share_with,
                             ContextCheck check = nullptr);

// Leaves no context current.
void release_current_context();

// The address of an OpenGL entry point of the current implementation, null
// when it has none. Needs video up.
void* gl_proc_address(const char* name);

// The primary display's desktop size; starts video when needed. False
// when there is no display.
bool desktop_size(int32_t& width, int32_t& height);

// 0 presents at once, 1 waits for vertical retrace. False when the system
// refuses, which is harmless (Xvfb refuses 0).
bool set_swap_interval(int32_t interval);

// Whether a visible video driver is up (started by the first window).
bool video_ready();
// The name of the video driver in use, empty when none.
std::string video_driver_name();

struct DisplayMode {
    int32_t width = 0, height = 0, bits_per_pixel = 0, hertz = 0;
};
// The primary display's modes; starts video when needed (empty when there
// is no display).
std::vector<DisplayMode> display_modes();

// The last failure's message.
Text last_error();

// What a window system gives the functions above. A backend fills one in
// (platform/sdl) and its table names it (PlatformBackend::windows in
// platform/backend.h); the functions answer through the registered one's.
// With none there is no video: no window is made and last_error() says so.
struct WindowSystem {
    Ref<GLWindow> (*create_gl_window)(const WindowSpec& spec, GLWindow* share_with,
                                      ContextCheck check) = nullptr;
    Ref<GLWindow> (*wrap_gl_window)(uint64_t native, const GLFormat& format,
                                    GLWindow* share_with, ContextCheck check) = nullptr;
    void (*release_current_context)() = nullptr;
    void* (*gl_proc_address)(const char* name) = nullptr;
    bool (*desktop_size)(int32_t& width, int32_t& height) = nullptr;
    bool (*set_swap_interval)(int32_t interval) = nullptr;
    bool (*video_ready)() = nullptr;
    std::string (*video_driver_name)() = nullptr;
    std::vector<DisplayMode> (*display_modes)() = nullptr;
    Text (*last_error)() = nullptr;
};

} // namespace vantrel::platform
