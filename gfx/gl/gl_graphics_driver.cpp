// GLGraphicsDriver over the platform's windows and OpenGL contexts.
#include "gfx/gl/gl_graphics_driver.h"

#include "core/error.h"
#include "gfx/gl/gl_context_check.h"
#include "input/system_driver.h"
#include "platform/unicode.h"

#include <GL/gl.h>

#include <algorithm>

namespace vantrel {
namespace {

// Never destroyed: textures released late in the process's exit still
// switch to its shared context.
GLGraphicsDriver* instance = nullptr;

constexpr int32_t WINDOW_LEFT = 32; // where the client area's corner goes
constexpr int32_t WINDOW_TOP = 32;
constexpr size_t MAX_MODES = 1024;

platform::GLFormat format_for(int32_t flags)
{
    platform::GLFormat format;
    format.double_buffer = (flags & GFX_BACK_BUFFER) != 0;
    format.alpha_bits = (flags & GFX_ALPHA_BUFFER) ? 1 : 0;
    format.depth_bits = (flags & GFX_DEPTH_BUFFER) ? 1 : 0;
    format.stencil_bits = (flags & GFX_STENCIL_BUFFER) ? 1 : 0;
    format.accum_bits = (flags & GFX_ACCUM_BUFFER) ? 1 : 0;
    return format;
}

} // namespace

Ref<GLGraphicsDriver> gl_graphics_driver()
{
    if (!instance)
        instance = make_ref<GLGraphicsDriver>().detach();
    return Ref<GLGraphicsDriver>(instance);
}

TGLGraphicsContext::TGLGraphicsContext(Ref<GLContextRecord> context_record)
    : record_(std::move(context_record))
{
}

Ref<TDisplayDriver> TGLGraphicsContext::driver() { return gl_graphics_driver(); }

void TGLGraphicsContext::get_settings(int32_t& width, int32_t& height, int32_t& depth,
                                      int32_t& hertz, int32_t& flags)
{
    if (!record_) {
        width = height = depth = hertz = flags = 0;
        return;
    }
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
    gl_graphics_driver()->close_record(record_);
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

Ref<TGraphics> GLGraphicsDriver::wrap_window(const Ref<TObject>&, int32_t)
{
    set_graphics_error(u"GLGraphicsDriver cannot draw into a window it did not make");
    return nullptr;
}

bool GLGraphicsDriver::ensure_shared_context()
{
    if (shared_)
        return true;
    platform::WindowSpec spec;
    spec.style = platform::WindowStyle::Hidden;
    spec.format = format_for(0);
    Ref<platform::GLWindow> window =
        platform::create_gl_window(spec, nullptr, &fixed_function_available);
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
    if (!ensure_shared_context())
        return nullptr;
    // This system keeps the desktop's display mode.
    if (depth != 0)
        raise_error(u"GLGraphicsDriver failed to set display mode");
    platform::WindowSpec spec;
    spec.caption = platform::utf8_from_utf16(app_title().view());
    spec.style = platform::WindowStyle::Captioned;
    spec.x = WINDOW_LEFT;
    spec.y = WINDOW_TOP;
    spec.width = width;
    spec.height = height;
    spec.format = format_for(flags);
    Ref<platform::GLWindow> window =
        platform::create_gl_window(spec, shared_->window.get(), &fixed_function_available);
    if (!window) {
        set_graphics_error(platform::last_error());
        return nullptr;
    }
    Ref<GLContextRecord> record = make_ref<GLContextRecord>();
    record->mode = GL_CONTEXT_WINDOWED;
    record->width = width;
    record->height = height;
    record->depth = depth;
    record->hertz = hertz;
    record->flags = flags;
    record->window = window;
    records_.insert(records_.begin(), record);
    if (!procedure_installed_) {
        add_window_procedure(&GLGraphicsDriver::window_procedure);
        procedure_installed_ = true;
    }
    window->show();
    return make_ref<TGLGraphicsContext>(record);
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
    current_->window->swap_buffers();
}

void GLGraphicsDriver::submit()
{
    if (current_)
        glFlush();
}

void GLGraphicsDriver::switch_shared_context()
{
    if (!shared_)
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
    if (same_object(record, current_)) {
        platform::release_current_context();
        current_ = nullptr;
    }
    record->window->close();
    records_.erase(it);
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
    const Ref<GLContextRecord> record =
        instance ? instance->find_record(message.window) : nullptr;
    if (!record)
        return false;
    send_os_event(message, nullptr);
    // A close request is only reported; the window stays until the game closes it.
    // Holding a button keeps the release coming even outside the window.
    if (record->mode == GL_CONTEXT_WINDOWED) {
        if (message.kind == platform::MessageKind::ButtonDown)
            record->window->capture_pointer(true);
        else if (message.kind == platform::MessageKind::ButtonUp)
            record->window->capture_pointer(false);
    }
    return true;
}

} // namespace vantrel
