// GLGraphicsDriver: the display driver that makes windows with OpenGL
// contexts, makes them current and swaps their buffers. Both renderers draw
// through one: there is one driver per context API (desktop compatibility
// for the first renderer, ES 2.0 for the second), each with the check its
// renderer puts a new context through.
//
// Every context it makes shares textures with the others. Textures are made
// and deleted in a hidden 1 x 1 context of the group (switch_shared_context),
// so they outlive the windows that draw them; that context is made only when
// first needed: for work with no window, or when the last window closes.
// Until then textures are made in the drawing context itself, which spares
// the first frame a second context. It also does the windows' duties
// towards the input layer: their messages go to the system driver, and in
// windowed mode a held mouse button captures the pointer.
//
// Full-screen graphics (depth other than 0) switch the display to their
// size while they have the focus and give it back when they lose it.
// Windowed graphics can be presented scaled (set_presentation): their window
// is larger than the frame, which flip shows enlarged (gl_scaled_frame.h).
#pragma once

#include "gfx/gl/gl_scaled_frame.h"
#include "gfx/graphics.h"
#include "platform/message_pump.h"
#include "platform/window.h"

#include <cstdint>
#include <vector>

namespace vantrel {

// Context record modes.
constexpr int32_t GL_CONTEXT_SHARED = 0;
constexpr int32_t GL_CONTEXT_WRAPPED = 1;
constexpr int32_t GL_CONTEXT_WINDOWED = 2;
constexpr int32_t GL_CONTEXT_FULLSCREEN = 3;

// Where windowed graphics put their client area's top-left corner.
constexpr int32_t GL_WINDOW_LEFT = 32;
constexpr int32_t GL_WINDOW_TOP = 32;

// One platform context and the window it draws into.
class GLContextRecord final : public TObject {
public:
    int32_t mode = GL_CONTEXT_SHARED;
    int32_t width = 0, height = 0;
    int32_t depth = 0, hertz = 0;
    int32_t flags = 0;
    Ref<platform::GLWindow> window;
    GLScaledFrame scaled; // active while the window shows the frame scaled
    int32_t frame_base_y = 0; // OpenGL row of the frame's bottom row in the drawable
};

class GLGraphicsDriver;

// The graphics of GLGraphicsDriver: one context record until closed.
class TGLGraphicsContext final : public TGraphics {
public:
    TGLGraphicsContext(GLGraphicsDriver* owner, Ref<GLContextRecord> context_record);

    Ref<TDisplayDriver> driver() override;
    void get_settings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                      int32_t& flags) override;
    void close() override;

    const Ref<GLContextRecord>& record() const { return record_; }

private:
    GLGraphicsDriver* owner_; // immortal
    Ref<GLContextRecord> record_;
};

class GLGraphicsDriver final : public TDisplayDriver {
public:
    GLGraphicsDriver(platform::GLApi api, platform::ContextCheck check);

    platform::GLApi api() const { return api_; }
    TGraphicsModeArray list_modes() override;
    Ref<TGraphics> wrap_window(const Ref<TObject>& window, int32_t flags) override;
    Ref<TGraphics> make_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                 int32_t flags) override;
    void bind_graphics(const Ref<TGraphics>& g) override;
    void flip(int32_t sync) override;
    void submit() override;

    // Toggles between the shared context, made now when there is none yet,
    // and the current record's context. Textures are made and deleted
    // between two calls, in the shared context.
    void switch_shared_context();
    // Whether texture work may run in the drawing context: there is one and
    // no shared context yet.
    bool textures_in_drawing_context() const { return !shared_ && current_; }
    // The context group textures are made in now. It moves on only when
    // the last context of a group closes with no shared context to keep its
    // textures, so a texture of a group that is gone is never deleted in a
    // later one, where its name may be another's.
    uint32_t texture_group() const { return group_; }

    // Whether the shared context is the one current on this thread.
    bool shared_context_current() const;
    // Whether the current record's window shows its frame scaled at each flip.
    bool presenting_scaled() const { return current_ && current_->scaled.active(); }
    // Where the current record's frame lies in its drawable: OpenGL row of
    // its bottom row (0 unless scaled, when the frame is in the top-left
    // corner). Viewport, scissor and read-back are offset by it.
    // 0 while an offscreen image is drawn into, where the frame is the image.
    int32_t frame_base_y() const { return current_ && !offscreen_ ? current_->frame_base_y : 0; }
    // The renderer draws into a framebuffer object of its own (on) or into
    // the current record's window (off).
    void set_drawing_offscreen(bool on) { offscreen_ = on; }
    // Called, with the record current, when the current record's frame has
    // moved in its drawable (the window changed size): the drawing target's
    // viewport and scissor must follow. One handler, the renderer's.
    void set_frame_moved_handler(void (*handler)()) { frame_moved_ = handler; }

    // For windowed records, present and future (see set_presentation in
    // gfx/graphics.h).
    void set_presentation(const TPresentation& presentation) override;
    TPresentation presentation() const override { return presentation_; }
    // The full-screen record that holds a changed display mode, if any.
    Ref<GLContextRecord> display_mode_owner() const { return mode_owner_; }

    // Deletes the record's context and window and unlinks it; a record that
    // is not in the list is ignored.
    void close_record(const Ref<GLContextRecord>& record);

    Ref<GLContextRecord> current_record() const { return current_; }
    Ref<GLContextRecord> shared_record() const { return shared_; }
    // The records made by make_graphics, newest first.
    const std::vector<Ref<GLContextRecord>>& records() const { return records_; }
    // The swap interval last set; -1 before the first flip.
    int32_t swap_interval() const { return swap_interval_; }
    // How many times the swap interval was handed to the platform.
    int32_t swap_interval_sets() const { return swap_interval_sets_; }

private:
    bool ensure_shared_context();
    // The window whose context a new one shares with: the shared context's,
    // or any record's before there is one; none for the first.
    platform::GLWindow* share_window() const;
    Ref<GLContextRecord> add_record(Ref<platform::GLWindow> window, int32_t mode, int32_t width,
                                    int32_t height, int32_t depth, int32_t hertz, int32_t flags);
    Ref<GLContextRecord> find_record(uint32_t window_id) const;
    static bool window_procedure(const platform::OSMessage& message);
    void on_focus(const Ref<GLContextRecord>& record, bool gained);
    void take_display_mode(const Ref<GLContextRecord>& record);
    void give_back_display_mode();
    void set_interval_of(const Ref<GLContextRecord>& record, int32_t interval);
    void apply_presentation(const Ref<GLContextRecord>& record);
    bool scaling_available(const Ref<GLContextRecord>& record);
    void make_current_for_work(const Ref<GLContextRecord>& record);
    bool place_frame(const Ref<GLContextRecord>& record);
    void restore_current();

    platform::GLFormat format_for(int32_t flags) const;

    platform::GLApi api_;
    platform::ContextCheck check_;
    std::vector<Ref<GLContextRecord>> records_;
    Ref<GLContextRecord> shared_;
    Ref<GLContextRecord> current_;
    uint32_t group_ = 1;
    int32_t swap_interval_ = -1;
    int32_t swap_interval_sets_ = 0;
    Ref<GLContextRecord> mode_owner_;
    TPresentation presentation_;
    int scaling_ = -1; // -1 not yet known, 0 no framebuffer objects, 1 available
    void (*frame_moved_)() = nullptr;
    bool offscreen_ = false;
};

// The process's GLGraphicsDriver for desktop OpenGL, made on first use.
Ref<GLGraphicsDriver> gl_graphics_driver();

// The process's driver for contexts of the given API, made on first use with
// the check (only the first call's check counts).
Ref<GLGraphicsDriver> gl_graphics_driver_for(platform::GLApi api, platform::ContextCheck check);

} // namespace vantrel
