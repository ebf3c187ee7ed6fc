// GLGraphicsDriver's display duties: the display mode of full-screen
// records, which follows their focus, and the scaled presentation of
// windowed ones.
#include "gfx/gl/gl_graphics_driver.h"

#include "core/error.h"

#include <algorithm>
#include <cstdio>

namespace vantrel {

void GLGraphicsDriver::on_focus(const Ref<GLContextRecord>& record, bool gained)
{
    if (gained && !mode_owner_)
        take_display_mode(record);
    else if (!gained && same_object(record, mode_owner_))
        give_back_display_mode();
}

// The requested rate first, then once more at any rate. Vertical retrace
// sync is on only when the requested rate was had.
void GLGraphicsDriver::take_display_mode(const Ref<GLContextRecord>& record)
{
    platform::GLWindow& window = *record->window;
    const bool rate_had = record->hertz != 0 &&
                          window.enter_display_mode(record->width, record->height, record->depth,
                                                    record->hertz);
    if (!rate_had && !window.enter_display_mode(record->width, record->height, record->depth, 0))
        raise_error(u"GLGraphicsDriver failed to set display mode");
    mode_owner_ = record;
    set_interval_of(record, rate_had ? 1 : 0);
}

void GLGraphicsDriver::give_back_display_mode()
{
    const Ref<GLContextRecord> record = mode_owner_;
    mode_owner_ = nullptr;
    record->window->leave_fullscreen();
    record->window->minimise();
    set_interval_of(record, 0);
}

void GLGraphicsDriver::set_interval_of(const Ref<GLContextRecord>& record, int32_t interval)
{
    swap_interval_ = interval;
    ++swap_interval_sets_;
    record->window->set_swap_interval(interval); // a refusal leaves the default
}

void GLGraphicsDriver::set_presentation(const TPresentation& requested)
{
    presentation_ = requested;
    presentation_.window_scale = std::max(1, std::min(requested.window_scale, 8));
    for (const Ref<GLContextRecord>& record : records_)
        if (record->mode == GL_CONTEXT_WINDOWED)
            apply_presentation(record);
}

// Resizes the window for the presentation and gives it the offscreen copy
// that scaled presentation goes through when it shows the frame at any
// other size.
void GLGraphicsDriver::apply_presentation(const Ref<GLContextRecord>& record)
{
    const TPresentation& p = presentation_;
    const bool scaled = (p.fill_desktop || p.window_scale > 1) && scaling_available(record);
    platform::GLWindow& window = *record->window;
    if (scaled && p.fill_desktop)
        window.fill_desktop();
    else if (scaled)
        window.set_client_rect(GL_WINDOW_LEFT, GL_WINDOW_TOP, record->width * p.window_scale,
                               record->height * p.window_scale);
    else
        window.set_client_rect(GL_WINDOW_LEFT, GL_WINDOW_TOP, record->width, record->height);
    if (scaled != record->scaled.active()) {
        make_current_for_work(record);
        const bool made = scaled && record->scaled.create(record->width, record->height);
        if (!scaled)
            record->scaled.destroy();
        restore_current();
        if (scaled && !made)
            window.set_client_rect(GL_WINDOW_LEFT, GL_WINDOW_TOP, record->width, record->height);
    }
    if (same_object(record, current_)) {
        // The context learns the drawable's new size at a buffer swap: one
        // black frame, so the next one is drawn at the new size.
        GLScaledFrame::clear_to_black();
        record->window->swap_buffers();
    }
    if (place_frame(record) && same_object(record, current_) && frame_moved_)
        frame_moved_();
}

// The frame goes in the drawable's top-left corner; true when that moved it.
bool GLGraphicsDriver::place_frame(const Ref<GLContextRecord>& record)
{
    int32_t width = 0, height = 0;
    record->window->drawable_size(width, height);
    const int32_t base = record->scaled.active() ? std::max(0, height - record->height) : 0;
    if (base == record->frame_base_y)
        return false;
    record->frame_base_y = base;
    return true;
}

// Asked once, in any of the contexts: they all come from the same OpenGL
// implementation.
bool GLGraphicsDriver::scaling_available(const Ref<GLContextRecord>& record)
{
    if (scaling_ < 0) {
        make_current_for_work(record);
        scaling_ = GLScaledFrame::supported() ? 1 : 0;
        restore_current();
        if (scaling_ == 0) {
            std::fputs("OpenGL offers no framebuffer objects: the frame is shown unscaled\n", stderr);
            std::fflush(stderr);
        }
    }
    return scaling_ == 1;
}

void GLGraphicsDriver::make_current_for_work(const Ref<GLContextRecord>& record)
{
    if (!record->window->is_current())
        record->window->make_current();
}

void GLGraphicsDriver::restore_current()
{
    if (current_)
        current_->window->make_current();
    else
        platform::release_current_context();
}

} // namespace vantrel
