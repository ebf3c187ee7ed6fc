// Scaled presentation: a window larger than its W x H frame. Drawing goes
// to the window's own back buffer as always, into its top-left W x H
// corner: that is where a W x H window's pixels lie in its buffer, so every
// pixel is rasterised exactly as there (the rasteriser's tiles and pixel
// quads fall the same way). At each flip the frame is copied to an
// offscreen framebuffer object of its size and copied back scaled, its
// aspect kept, centred between bars cleared to black.
//
// Everything here runs on the main thread with the owning context current.
#pragma once

#include <cstdint>

namespace vantrel {

// Where a W x H frame goes in a drawable: the largest centred rectangle of
// the frame's aspect. whole is set when the factor is a whole number, which
// is shown with nearest-neighbour sampling; other factors filter linearly.
struct FrameFit {
    int32_t x = 0, y = 0, width = 0, height = 0; // bottom-left origin, as OpenGL counts
    bool whole = false;
};
FrameFit fit_frame(int32_t width, int32_t height, int32_t drawable_width,
                   int32_t drawable_height);

class GLScaledFrame {
public:
    // Whether the current context has framebuffer objects and blits; the
    // entry points are looked up on the first call.
    static bool supported();

    // Clears the current context's back buffer to black, leaving the scissor
    // and the clear colour as they were.
    static void clear_to_black();

    // Makes the offscreen copy of a width x height frame.
    bool create(int32_t width, int32_t height);
    void destroy();
    bool active() const { return framebuffer_ != 0; }

    // Shows the frame whose bottom row is at OpenGL row base_y of the back
    // buffer scaled to the whole drawable. Leaves the scissor test and box,
    // the clear colour and the framebuffer bindings as they were.
    void present(int32_t base_y, int32_t drawable_width, int32_t drawable_height);

private:
    int32_t width_ = 0, height_ = 0;
    uint32_t framebuffer_ = 0;
    uint32_t colour_ = 0;
};

} // namespace vantrel
