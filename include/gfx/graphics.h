// Graphics contexts and frame pacing.
//
// The layer keeps one current display driver and at most one graphics opened
// for the game. open_graphics makes a window through the current driver (the
// 2-D renderer of the registered backend, which wraps that backend's display
// driver: GLGraphicsDriver in the program) and
// anchors a software frame schedule to that moment; flip_frame presents the
// back buffer and, for flip_frame(-1), sleeps so that frames follow each other
// 1000 / hertz ms apart on average (16, 17, 17 ms at 60 Hz). graphics_seq
// counts graphics generations so that textures know when to be made again.
//
// Relies on the hook chains (the flip hook), the polled input (switched on
// and off with the opened graphics) and the millisecond clock.
#pragma once

#include "assets/pixmap.h"
#include "core/object.h"
#include "core/text.h"

#include <cstdint>
#include <vector>

namespace vantrel {

// Graphics flags, ORed.
constexpr int32_t GFX_BACK_BUFFER = 2;     // double-buffered
constexpr int32_t GFX_ALPHA_BUFFER = 4;    // destination alpha bits
constexpr int32_t GFX_DEPTH_BUFFER = 8;    // depth bits
constexpr int32_t GFX_STENCIL_BUFFER = 16; // stencil bits
constexpr int32_t GFX_ACCUM_BUFFER = 32;   // accumulation bits

class TDisplayDriver;
class TRenderDriver;

// How windowed graphics present their W x H frame. The default is a plain
// W x H window; otherwise the frame is drawn offscreen at W x H and shown
// scaled, with its aspect kept, centred between black bars.
struct TPresentation {
    int32_t window_scale = 1;  // the window is this many times the frame (1 to 8)
    bool fill_desktop = false; // full-screen at the desktop's own resolution
    friend bool operator==(const TPresentation&, const TPresentation&) = default;
};

// One display mode.
class TGraphicsMode final : public TObject {
public:
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0; // bits per pixel
    int32_t hertz = 0;
};

using TGraphicsModeArray = std::vector<Ref<TGraphicsMode>>;

// An open graphics context.
class TGraphics : public TObject {
public:
    // The driver that made it.
    virtual Ref<TDisplayDriver> driver() = 0;
    // The values it was created with.
    virtual void get_settings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                              int32_t& flags) = 0;
    // Releases the context and its window; a second close does nothing.
    virtual void close() = 0;
};

// A display driver: makes graphics, makes one of them the drawing target and
// presents its back buffer.
class TDisplayDriver : public TObject {
public:
    virtual TGraphicsModeArray list_modes() = 0;
    // Graphics drawing into an existing platform window (null when the driver
    // cannot).
    virtual Ref<TGraphics> wrap_window(const Ref<TObject>& window, int32_t flags) = 0;
    // A new graphics with its window shown, not yet current; null when none
    // can be made. May raise a runtime error, which make_graphics() catches.
    virtual Ref<TGraphics> make_graphics(int32_t width, int32_t height, int32_t depth,
                                         int32_t hertz, int32_t flags) = 0;
    // Makes g the target of all drawing; null detaches.
    virtual void bind_graphics(const Ref<TGraphics>& g) = 0;
    // Presents the back buffer; sync 0 does not wait for vertical retrace.
    virtual void flip(int32_t sync) = 0;
    // Hands the frame drawn so far to the device without waiting for it.
    // Paced frames call it before they sleep, so a renderer that draws in
    // threads of its own (a software rasteriser) finishes the frame during
    // the sleep and the flip that follows only presents it.
    virtual void submit() {}
    // How windowed graphics present their frame (set_presentation below);
    // a driver that cannot scale keeps the value and shows frames unscaled.
    virtual void set_presentation(const TPresentation& presentation) { kept_presentation_ = presentation; }
    virtual TPresentation presentation() const { return kept_presentation_; }

private:
    TPresentation kept_presentation_;
};

// A display backend: the display driver that makes its windows and presents
// them, and the 2-D renderer that draws over it. Each is made on first use.
struct TGraphicsBackend {
    Ref<TDisplayDriver> (*display_driver)() = nullptr;
    Ref<TRenderDriver> (*renderer)() = nullptr;
};

// Makes the backend the one graphics_init and graphics2d_init register; the
// backend must outlive its use. The layer knows drivers only this way: a
// backend's init function calls it (gl_backend_init and gles2_backend_init
// of vantrel_backends, null_backend_init in gfx/null), and the program calls
// that init before graphics_init. A later registration replaces an earlier
// one.
void register_graphics_backend(const TGraphicsBackend& backend);
// The registered backend, null when none.
const TGraphicsBackend* graphics_backend();

// Registers the backend's display driver as the current driver with default
// flags GFX_BACK_BUFFER and takes the flip hook id. Runs once; the event hooks
// must be initialised first, and the backend registered. The 2-D renderer
// registers after it (graphics2d_init) and so becomes the current driver.
// Without a backend no driver is current and open_graphics gives null.
void graphics_init();

// Makes the driver current and stores its default flags; forgets the current
// graphics without closing it.
void select_display_driver(const Ref<TDisplayDriver>& driver, int32_t default_flags);
Ref<TDisplayDriver> current_display_driver();
int32_t get_default_graphics_flags();

// The current driver's modes, cached until the driver changes.
const TGraphicsModeArray& list_graphics_modes();

// The current driver's make_graphics with the default flags ORed in; null
// when it gives nothing or raises a runtime error (its message is then kept
// as last_graphics_error()).
Ref<TGraphics> make_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                             int32_t flags);
void bind_graphics(const Ref<TGraphics>& g);
void dispose_graphics(const Ref<TGraphics>& g);

// Closes any opened graphics, then opens a window of that client size
// (windowed when depth is 0) and makes it current. Null when no window or
// context can be had; last_graphics_error() then says why.
Ref<TGraphics> open_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                             int32_t flags);
void close_opened_graphics();

// Presents the frame. sync -1 paces frames in software for the graphics made
// by open_graphics; 0 flips without waiting for retrace; other values wait.
void flip_frame(int32_t sync);

// On: flip_frame(-1) presents without its pacing sleep, for a host whose own
// frame clock calls one pass at a time. Off (the default) paces as ever.
void set_host_paced(bool on);
bool host_paced();

Ref<TGraphics> current_graphics();
Ref<TGraphics> opened_graphics();
int32_t screen_width();
int32_t screen_height();
int32_t screen_depth();
int32_t screen_hertz();
int32_t screen_flags();

// The graphics generation: 1 at start, bumped by every successful
// open_graphics and every close_opened_graphics that closed something; never
// 0, so 0 can mean "no generation".
int32_t graphics_seq();
// The counter's successor: seq + 1 with 32-bit wrap-around, 0 skipped.
int32_t next_graphics_seq(int32_t seq);

// The hook run at every flip_frame (no data); -1 before graphics_init.
int32_t flip_hook_id();

// Why the last make_graphics, open_graphics or create_render_image
// (gfx/render_image.h) gave null (the window system's own message where it
// gave one); empty after a success.
Text last_graphics_error();
// Drivers record their failures here.
void set_graphics_error(Text message);

// The software frame schedule, for diagnostics and tests.
struct FramePacing {
    int32_t soft_sync = 0;
    int32_t hertz = 0;
    int32_t ms_per_frame = 0;
    int32_t remainder = 0;
    int32_t accumulator = 0;
    int32_t next_frame_time = 0; // clock_ms() value the next flip waits for
};
FramePacing frame_pacing();

// Applies, through the registered backend's display driver, to windowed
// graphics made from now on and, at once, to those that exist: the window
// changes, the context, its textures and the drawing state stay. Without
// framebuffer objects the frame stays unscaled (said once on standard
// error).
void set_presentation(const TPresentation& presentation);
TPresentation presentation();

// The application title, which new windows take as their caption.
void set_app_title(Text title);
Text app_title();

// The application icon, which new windows give the window manager for their
// title bar and the task bar; the null object (the default) sets none.
void set_app_icon(Ref<TPixmap> icon);
Ref<TPixmap> app_icon();

} // namespace vantrel
