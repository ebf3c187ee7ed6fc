// GLWindow over an SDL window and an SDL OpenGL context.
#include "platform/sdl/sdl_video.h"
#include "platform/window.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace vantrel::platform {
namespace {

// Whether the display offers exactly this mode; SDL would otherwise pick
// the closest one. 24-bit colour in 32-bit pixels answers to both depths.
bool find_display_mode(int display, int32_t width, int32_t height, int32_t bits,
                       int32_t hertz, SDL_DisplayMode& found)
{
    for (int i = 0; i < SDL_GetNumDisplayModes(display); ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(display, i, &m) != 0 || m.w != width || m.h != height)
            continue;
        const bool depth_ok = static_cast<int32_t>(SDL_BITSPERPIXEL(m.format)) == bits ||
                              static_cast<int32_t>(SDL_BYTESPERPIXEL(m.format)) * 8 == bits;
        if (depth_ok && (hertz == 0 || m.refresh_rate == hertz)) {
            found = m;
            return true;
        }
    }
    return false;
}

uint64_t swaps = 0;

class SdlGLWindow final : public GLWindow {
public:
    SdlGLWindow(SDL_Window* window, SDL_GLContext context, bool owned = true)
        : window_(window), context_(context), owned_(owned),
          bordered_(!(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS))
    {
    }
    ~SdlGLWindow() override { close(); }

    uint32_t id() const override { return window_ ? SDL_GetWindowID(window_) : 0; }
    void client_size(int32_t& width, int32_t& height) const override
    {
        width = height = 0;
        if (window_)
            SDL_GetWindowSize(window_, &width, &height);
    }
    void client_origin(int32_t& x, int32_t& y) const override
    {
        x = y = 0;
        if (window_)
            SDL_GetWindowPosition(window_, &x, &y);
    }
    std::string caption() const override { return window_ ? SDL_GetWindowTitle(window_) : ""; }
    bool resizable() const override { return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_RESIZABLE); }
    bool visible() const override { return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN); }
    void show() override
    {
        if (window_)
            SDL_ShowWindow(window_);
    }

    bool make_current() override { return window_ && SDL_GL_MakeCurrent(window_, context_) == 0; }
    bool is_current() const override { return context_ && SDL_GL_GetCurrentContext() == context_; }
    void swap_buffers() override
    {
        if (!window_)
            return;
        SDL_GL_SwapWindow(window_);
        ++swaps;
    }
    void capture_pointer(bool on) override
    {
        // Fails harmlessly when the window does not have the focus.
        if (window_)
            SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
    }
    bool pointer_captured() const override
    {
        return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MOUSE_CAPTURE);
    }

    bool set_icon(const uint8_t* rgba, int32_t width, int32_t height, int32_t pitch) override;

    uint64_t native_handle() const override
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!window_ || !SDL_GetWindowWMInfo(window_, &info))
            return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
        if (info.subsystem == SDL_SYSWM_X11)
            return static_cast<uint64_t>(info.info.x11.window);
#endif
        return 0;
    }

    void drawable_size(int32_t& width, int32_t& height) const override
    {
        width = height = 0;
        if (window_)
            SDL_GL_GetDrawableSize(window_, &width, &height);
    }
    void set_client_rect(int32_t x, int32_t y, int32_t width, int32_t height) override
    {
        if (!window_)
            return;
        leave_fullscreen();
        if (bordered_)
            SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowSize(window_, width, height);
        SDL_SetWindowPosition(window_, x, y);
    }
    bool fill_desktop() override
    {
        SDL_Rect bounds;
        if (!window_ || SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window_), &bounds) != 0)
            return false;
        // Without a window manager nothing carries out a full-screen
        // request, so the window first covers the display by itself.
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowSize(window_, bounds.w, bounds.h);
        SDL_SetWindowPosition(window_, bounds.x, bounds.y);
        return SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    }
    bool enter_display_mode(int32_t width, int32_t height, int32_t bits, int32_t hertz) override
    {
        SDL_DisplayMode mode;
        if (!window_)
            return false;
        if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED)
            SDL_RestoreWindow(window_);
        if (!find_display_mode(SDL_GetWindowDisplayIndex(window_), width, height, bits, hertz,
                               mode))
            return false;
        return SDL_SetWindowDisplayMode(window_, &mode) == 0 &&
               SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) == 0;
    }
    void leave_fullscreen() override
    {
        if (fullscreen())
            SDL_SetWindowFullscreen(window_, 0);
    }
    bool fullscreen() const override
    {
        return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN);
    }
    void minimise() override
    {
        if (window_)
            SDL_MinimizeWindow(window_);
    }
    bool set_swap_interval(int32_t interval) override
    {
        if (!window_)
            return false;
        SDL_Window* previous_window = SDL_GL_GetCurrentWindow();
        SDL_GLContext previous_context = SDL_GL_GetCurrentContext();
        const bool done = SDL_GL_MakeCurrent(window_, context_) == 0 &&
                          SDL_GL_SetSwapInterval(interval) == 0;
        SDL_GL_MakeCurrent(previous_window, previous_context);
        return done;
    }

    void close() override
    {
        if (!window_)
            return;
        if (is_current())
            SDL_GL_MakeCurrent(nullptr, nullptr);
        SDL_GL_DeleteContext(context_);
        // SDL leaves a window it did not create to its maker.
        if (owned_)
            leave_fullscreen();
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        context_ = nullptr;
    }
    bool closed() const override { return window_ == nullptr; }

private:
    SDL_Window* window_;
    SDL_GLContext context_;
    bool owned_;
    bool bordered_; // made with a title bar, which it gets back after full-screen
};

bool SdlGLWindow::set_icon(const uint8_t* rgba, int32_t width, int32_t height, int32_t pitch)
{
    if (!window_ || !rgba || width <= 0 || height <= 0 || pitch < width * 4)
        return false;
    // SDL copies the pixels into the window system's property, so the
    // surface only borrows them for the call.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(rgba), width, height, 32, pitch, SDL_PIXELFORMAT_RGBA32);
    if (!surface)
        return false;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
    return true;
}

void request_format(const GLFormat& format, bool share)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alpha_bits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depth_bits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencil_bits);
    for (auto channel : {SDL_GL_ACCUM_RED_SIZE, SDL_GL_ACCUM_GREEN_SIZE, SDL_GL_ACCUM_BLUE_SIZE,
                         SDL_GL_ACCUM_ALPHA_SIZE})
        SDL_GL_SetAttribute(channel, format.accum_bits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.double_buffer ? 1 : 0);
    if (format.api == GLApi::ES2) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    } else {
        // The first renderer uses immediate mode and the alpha test.
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    }
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, share ? 1 : 0);
}

SDL_Window* open_window(const WindowSpec& spec)
{
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (spec.style != WindowStyle::Captioned)
        flags |= SDL_WINDOW_BORDERLESS;
    if (spec.style == WindowStyle::Hidden)
        flags |= SDL_WINDOW_SKIP_TASKBAR;
    // SDL places windows by their client area, which is what we are given.
    return SDL_CreateWindow(spec.caption.c_str(), spec.x, spec.y, spec.width, spec.height, flags);
}

// Makes the context and runs the check with it current; the caller restores
// the previous current context.
SDL_GLContext open_context(SDL_Window* window, GLApi api, ContextCheck check)
{
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        sdl::fail_with_sdl(api == GLApi::ES2 ? "Cannot create an OpenGL ES 2.0 context"
                                             : "Cannot create an OpenGL compatibility context");
        return nullptr;
    }
    std::string reason;
    if (check && (SDL_GL_MakeCurrent(window, context) != 0 || !check(reason))) {
        SDL_GL_MakeCurrent(nullptr, nullptr);
        SDL_GL_DeleteContext(context);
        sdl::fail(reason.empty() ? "The OpenGL context was rejected" : reason);
        return nullptr;
    }
    return context;
}

// Makes the window's context, sharing with share_with's, and leaves the
// previous context current. Destroys the window when there is none.
SDL_GLContext context_for(SDL_Window* window, GLApi api, GLWindow* share_with,
                          ContextCheck check)
{
    SDL_Window* previous_window = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous_context = SDL_GL_GetCurrentContext();
    SDL_GLContext context = nullptr;
    if (share_with && !share_with->make_current())
        sdl::fail_with_sdl("Cannot make the shared context current");
    else
        context = open_context(window, api, check);
    SDL_GL_MakeCurrent(previous_window, previous_context);
    if (!context)
        SDL_DestroyWindow(window);
    return context;
}

} // namespace

namespace sdl {

Ref<GLWindow> wrap_gl_window(uint64_t native, const GLFormat& format, GLWindow* share_with,
                             ContextCheck check)
{
    if (!sdl::start_video())
        return nullptr;
    request_format(format, share_with != nullptr);
    // SDL then sets the window up for OpenGL with the pixel format above.
    SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
    SDL_Window* window = SDL_CreateWindowFrom(reinterpret_cast<const void*>(native));
    SDL_ResetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL);
    if (!window) {
        sdl::fail_with_sdl("Cannot take over that window");
        return nullptr;
    }
    SDL_GLContext context = context_for(window, format.api, share_with, check);
    if (!context)
        return nullptr;
    return make_ref<SdlGLWindow>(window, context, false);
}

Ref<GLWindow> create_gl_window(const WindowSpec& spec, GLWindow* share_with,
                               ContextCheck check)
{
    if (!sdl::start_video())
        return nullptr;
    SDL_Window* previous_window = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous_context = SDL_GL_GetCurrentContext();
    // Sharing is with whatever context is current when the new one is made.
    if (share_with && !share_with->make_current()) {
        sdl::fail_with_sdl("Cannot make the shared context current");
        return nullptr;
    }
    request_format(spec.format, share_with != nullptr);
    SDL_Window* window = open_window(spec);
    SDL_GLContext context = nullptr;
    if (!window)
        sdl::fail_with_sdl("Cannot create a window with that pixel format");
    else if (!(context = open_context(window, spec.format.api, check)))
        SDL_DestroyWindow(window);
    SDL_GL_MakeCurrent(previous_window, previous_context);
    if (!context)
        return nullptr;
    return make_ref<SdlGLWindow>(window, context);
}

uint64_t frames_shown() { return swaps; }

} // namespace sdl
} // namespace vantrel::platform
