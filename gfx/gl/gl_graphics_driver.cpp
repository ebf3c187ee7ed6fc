// GLGraphicsDriver over the platform's windows and OpenGL contexts.
#include "gfx/gl/gl_graphics_driver.h"

#include "core/error.h"
#include "gfx/gl/gl_context_check.h"
#include "gfx/immortal.h"
#include "input/system_driver.h"
#include "platform/unicode.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

namespace vantrel {
namespace {

// Never destroyed: textures released late in the process's exit still
// switch to its shared context. Null until first asked for.
Ref<GLGraphicsDriver>& instance(platform::GLApi api)
{
    static Immortal<Ref<GLGraphicsDriver>> desktop;
    static Immortal<Ref<GLGraphicsDriver>> es2;
    return api == platform::GLApi::ES2 ? es2.get() : desktop.get();
}

constexpr size_t MAX_MODES = 1024;

} // namespace

platform::GLFormat GLGraphicsDriver::format_for(int32_t flags) const
{
    platform::GLFormat format;
    format.api = api_;
    format.double_buffer = (flags & GFX_BACK_BUFFER) != 0;
    format.alpha_bits = (flags & GFX_ALPHA_BUFFER) ? 1 : 0;
    format.depth_bits = (flags & GFX_DEPTH_BUFFER) ? 1 : 0;
    format.stencil_bits = (flags & GFX_STENCIL_BUFFER) ? 1 : 0;
    format.accum_bits = (flags & GFX_ACCUM_BUFFER) ? 1 : 0;
    return format;
}

namespace {

// Before the window is shown, so the window manager has the icon when it
// first maps the window.
void give_app_icon(platform::GLWindow& window)
{
    Ref<TPixmap> icon = app_icon();
    if (!icon || icon->width <= 0 || icon->height <= 0)
        return;
    if (icon->format != FORMAT_RGBA32)
        icon = icon->convert(FORMAT_RGBA32);
    window.set_icon(icon->pixels, icon->width, icon->height, icon->pitch);
}

} // namespace

Ref<GLGraphicsDriver> gl_graphics_driver_for(platform::GLApi api, platform::ContextCheck check)
{
    Ref<GLGraphicsDriver>& driver = instance(api);
    if (!driver)
        driver = make_ref<GLGraphicsDriver>(api, check);
    return driver;
}

Ref<GLGraphicsDriver> gl_graphics_driver()
{
    return gl_graphics_driver_for(platform::GLApi::Compatibility, &fixed_function_available);
}

GLGraphicsDriver::GLGraphicsDriver(platform::GLApi api, platform::ContextCheck check)
    : api_(api), check_(check)
{
}

TGLGraphicsContext::TGLGraphicsContext(GLGraphicsDriver* owner, Ref<GLContextRecord> context_record)
    : owner_(owner), record_(std::move(context_record))
{
}

Ref<TDisplayDriver> TGLGraphicsContext::driver() { return Ref<TDisplayDriver>(owner_); }

void TGLGraphicsContext::get_settings(int32_t& width, int32_t& height, int32_t& depth,
                                      int32_t& hertz, int32_t& flags)
{
    if (!record_) {
        width = height = depth = hertz = flags = 0;
        return;
    }
    // A window someone else made may have been resized since.
    if (record_->mode == GL_CONTEXT_WRAPPED)
        record_->window->client_size(record_->width, record_->height);
    width = record_->width;
    height = record_->height;
    depth = record_->depth;
    hertz = record_->hertz;
    flags = record_->flags;
}

void TGLGraphicsContext::close()
{
    if (!record_)
        return;
    owner_->close_record(record_);
    record_ = nullptr;
}

TGraphicsModeArray GLGraphicsDriver::list_modes()
{
    TGraphicsModeArray modes;
    for (const platform::DisplayMode& m : platform::display_modes()) {
        if (m.bits_per_pixel <= 15 || modes.size() >= MAX_MODES)
            continue;
        Ref<TGraphicsMode> mode = make_ref<TGraphicsMode>();
        mode->width = m.width;
        mode->height = m.height;
        mode->depth = m.bits_per_pixel;
        mode->hertz = m.hertz;
        modes.push_back(mode);
    }
    return modes;
}

Ref<TGraphics> GLGraphicsDriver::wrap_window(const Ref<TObject>& window, int32_t flags)
{
    const Ref<platform::NativeWindow> native = ref_cast<platform::NativeWindow>(window);
    if (!native) {
        set_graphics_error(u"GLGraphicsDriver can only draw into a native window");
        return nullptr;
    }
    Ref<platform::GLWindow> wrapped =
        platform::wrap_gl_window(native->handle, format_for(flags), share_window(), check_);
    if (!wrapped) {
        set_graphics_error(platform::last_error());
        return nullptr;
    }
    int32_t width = 0, height = 0;
    wrapped->client_size(width, height);
    // Not shown: the window is its maker's to show.
    return make_ref<TGLGraphicsContext>(
        this, add_record(wrapped, GL_CONTEXT_WRAPPED, width, height, 0, 0, flags));
}

platform::GLWindow* GLGraphicsDriver::share_window() const
{
    if (shared_)
        return shared_->window.get();
    return records_.empty() ? nullptr : records_.front()->window.get();
}

bool GLGraphicsDriver::ensure_shared_context()
{
    if (shared_)
        return true;
    platform::WindowSpec spec;
    spec.style = platform::WindowStyle::Hidden;
    spec.format = format_for(0);
    Ref<platform::GLWindow> window = platform::create_gl_window(spec, share_window(), check_);
    if (!window) {
        set_graphics_error(platform::last_error());
        return false;
    }
    shared_ = make_ref<GLContextRecord>();
    shared_->mode = GL_CONTEXT_SHARED;
    shared_->width = shared_->height = 1;
    shared_->window = window;
    return true;
}

Ref<TGraphics> GLGraphicsDriver::make_graphics(int32_t width, int32_t height, int32_t depth,
                                               int32_t hertz, int32_t flags)
{
    const bool full_screen = depth != 0;
    platform::WindowSpec spec;
    spec.caption = platform::utf8_from_utf16(app_title().view());
    spec.style = full_screen ? platform::WindowStyle::Popup : platform::WindowStyle::Captioned;
    spec.x = full_screen ? 0 : GL_WINDOW_LEFT;
    spec.y = full_screen ? 0 : GL_WINDOW_TOP;
    spec.width = width;
    spec.height = height;
    spec.format = format_for(flags);
    Ref<platform::GLWindow> window =
        platform::create_gl_window(spec, share_window(), check_);
    if (!window) {
        set_graphics_error(platform::last_error());
        return nullptr;
    }
    const Ref<GLContextRecord> record =
        add_record(window, full_screen ? GL_CONTEXT_FULLSCREEN : GL_CONTEXT_WINDOWED, width,
                   height, depth, hertz, flags);
    give_app_icon(*record->window);
    record->window->show();
    // After showing: a hidden window cannot go full-screen without a window
    // manager to carry the request out when it appears.
    if (!full_screen && !(presentation_ == TPresentation{}))
        apply_presentation(record);
    // Showing gives the window the focus: a full-screen one takes the
    // display now, and a mode that cannot be set leaves no graphics.
    if (full_screen && !mode_owner_) {
        try {
            take_display_mode(record);
        } catch (...) {
            close_record(record);
            throw;
        }
    }
    return make_ref<TGLGraphicsContext>(this, record);
}

Ref<GLContextRecord> GLGraphicsDriver::add_record(Ref<platform::GLWindow> window, int32_t mode,
                                                  int32_t width, int32_t height, int32_t depth,
                                                  int32_t hertz, int32_t flags)
{
    Ref<GLContextRecord> record = make_ref<GLContextRecord>();
    record->mode = mode;
    record->width = width;
    record->height = height;
    record->depth = depth;
    record->hertz = hertz;
    record->flags = flags;
    record->window = std::move(window);
    records_.insert(records_.begin(), record);
    // Once per window rather than once per driver: the list ignores a
    // procedure it has, and a reset of the input layer empties it.
    add_window_procedure(&GLGraphicsDriver::window_procedure);
    return record;
}

void GLGraphicsDriver::bind_graphics(const Ref<TGraphics>& g)
{
    const Ref<TGLGraphicsContext> context = ref_cast<TGLGraphicsContext>(g);
    const Ref<GLContextRecord> record = context ? context->record() : nullptr;
    if (same_object(record, current_))
        return;
    if (record)
        record->window->make_current();
    else
        platform::release_current_context();
    current_ = record;
}

void GLGraphicsDriver::flip(int32_t sync)
{
    if (!current_)
        return;
    const int32_t interval = sync != 0 ? 1 : 0;
    if (interval != swap_interval_) {
        swap_interval_ = interval;
        ++swap_interval_sets_;
        platform::set_swap_interval(interval); // a refusal leaves the default
    }
    if (!current_->scaled.active()) {
        current_->window->swap_buffers();
        return;
    }
    int32_t width = 0, height = 0;
    current_->window->drawable_size(width, height);
    current_->scaled.present(current_->frame_base_y, width, height);
    current_->window->swap_buffers();
    // A window manager may size the window a while after it was asked to.
    if (place_frame(current_) && frame_moved_)
        frame_moved_();
}

void GLGraphicsDriver::submit()
{
    if (current_)
        glFlush();
}

void GLGraphicsDriver::switch_shared_context()
{
    if (!shared_ && !ensure_shared_context())
        return;
    if (!shared_->window->is_current())
        shared_->window->make_current();
    else if (current_)
        current_->window->make_current();
    else
        platform::release_current_context();
}

bool GLGraphicsDriver::shared_context_current() const
{
    return shared_ && shared_->window->is_current();
}

void GLGraphicsDriver::close_record(const Ref<GLContextRecord>& record)
{
    const auto it = std::find(records_.begin(), records_.end(), record);
    if (it == records_.end())
        return;
    // The last context of the group takes its textures with it unless the
    // shared one is made first.
    const bool last_of_group = records_.size() == 1 && !shared_ && !ensure_shared_context();
    if (same_object(record, mode_owner_))
        give_back_display_mode();
    if (record->scaled.active()) {
        // Its renderbuffers are shared objects: they would outlive the context.
        make_current_for_work(record);
        record->scaled.destroy();
        restore_current();
    }
    if (same_object(record, current_)) {
        platform::release_current_context();
        current_ = nullptr;
    }
    record->window->close();
    records_.erase(it);
    if (last_of_group)
        ++group_;
}

Ref<GLContextRecord> GLGraphicsDriver::find_record(uint32_t window_id) const
{
    for (const Ref<GLContextRecord>& record : records_)
        if (record->window->id() == window_id)
            return record;
    return nullptr;
}

bool GLGraphicsDriver::window_procedure(const platform::OSMessage& message)
{
    Ref<GLGraphicsDriver> owner;
    Ref<GLContextRecord> record;
    for (platform::GLApi api : {platform::GLApi::Compatibility, platform::GLApi::ES2})
        if (!record && (owner = instance(api)))
            record = owner->find_record(message.window);
    if (!record)
        return false;
    send_os_event(message, nullptr);
    // A close request is only reported; the window stays until the game closes it.
    switch (message.kind) {
    case platform::MessageKind::FocusGained:
    case platform::MessageKind::FocusLost:
        if (record->mode == GL_CONTEXT_FULLSCREEN)
            owner->on_focus(record, message.kind == platform::MessageKind::FocusGained);
        break;
    case platform::MessageKind::ButtonDown:
    case platform::MessageKind::ButtonUp:
        // Holding a button keeps the release coming even outside the window;
        // a full-screen window has no outside.
        if (record->mode == GL_CONTEXT_WINDOWED && !record->window->fullscreen() &&
            message.button >= 1 && message.button <= 3)
            record->window->capture_pointer(message.kind == platform::MessageKind::ButtonDown);
        break;
    default:
        break;
    }
    return true;
}

} // namespace vantrel
