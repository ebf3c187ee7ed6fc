// NullGraphicsDriver: the display driver of the null backend. Its graphics
// are null windows (platform/null/null_window.h) of the requested size that
// count the frames presented in them; nothing is shown and nothing needs a
// display. Messages injected for a null window (null_message_pump) reach
// the input layer as a real window's would.
#pragma once

#include "gfx/graphics.h"
#include "platform/null/null_window.h"

#include <cstdint>

namespace vantrel {

class TNullGraphics final : public TGraphics {
public:
    TNullGraphics(Ref<platform::NullWindow> null_window, int32_t depth, int32_t hertz,
                  int32_t flags);

    Ref<TDisplayDriver> driver() override;
    void get_settings(int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz,
                      int32_t& flags) override;
    void close() override;

    // Null once closed.
    const Ref<platform::NullWindow>& window() const { return window_; }

private:
    Ref<platform::NullWindow> window_;
    int32_t width_, height_, depth_, hertz_, flags_;
};

class NullGraphicsDriver final : public TDisplayDriver {
public:
    // One 640 x 480 mode at 32 bits, 60 Hz.
    TGraphicsModeArray list_modes() override;
    // Null: there are no native windows to draw into.
    Ref<TGraphics> wrap_window(const Ref<TObject>& window, int32_t flags) override;
    // Null (with the reason as the graphics error) for a size below 1 x 1.
    Ref<TGraphics> make_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                 int32_t flags) override;
    void bind_graphics(const Ref<TGraphics>& g) override;
    // Counts a present in the current window; does nothing without one.
    void flip(int32_t sync) override;

    Ref<TNullGraphics> current() const { return current_; }
    int32_t flips() const { return flips_; }

private:
    Ref<TNullGraphics> current_;
    int32_t flips_ = 0;
};

// The process's one null display driver, made on first use.
Ref<NullGraphicsDriver> null_graphics_driver();

} // namespace vantrel
