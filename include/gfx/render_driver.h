// TRenderDriver: a display driver that also draws.
//
// The 2-D layer keeps its drawing state in the current TGraphics2D and hands
// every change to the current renderer at once; the drawing operations then
// give the renderer shapes as a local rectangle plus a translation, and the
// renderer applies its matrix to each corner. A renderer's to_string() is its
// name for people ("OpenGL" for GLRenderDriver). Code that must tell
// renderers apart asks id(), a short name that never changes and that each
// renderer chooses for itself ("gl", "gles2", "null": the names the game's
// --renderer takes), or better, where it wants to know what a renderer can
// do, capabilities().
//
// Textured primitives are the one way past the 2-D state: vertices with their
// own depth, normal, colour and texture coordinates, textured with an image
// frame, for shapes the layer has no primitive for (the game's wing quads).
// Their colours ignore the state's colour, alpha and matrix; the blend mode
// still applies. The renderer binds the frame through its own caches, so the
// drawing that follows finds its record of the bound texture true.
#pragma once

#include "gfx/graphics.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace vantrel {

class TPixmap;
class TImageFrame;

constexpr int32_t BLEND_MASK = 1;  // no blending; alpha below one half discarded
constexpr int32_t BLEND_SOLID = 2; // no blending, opaque
constexpr int32_t BLEND_ALPHA = 3; // source over destination by source alpha
constexpr int32_t BLEND_LIGHT = 4; // source times alpha added to destination
constexpr int32_t BLEND_SHADE = 5; // destination times source colour

// What a renderer does beyond what every renderer does (capabilities(), ORed).
// Drawing gives pixels that read_back_pixmap reads (the null renderer
// records calls instead and reads back blank).
constexpr int32_t RENDERER_DRAWS_PIXELS = 1;
// create_render_frame makes offscreen images (gfx/render_image.h); a context
// without framebuffer objects still refuses one, with the reason. Without
// it the renderer keeps TRenderDriver's create_render_frame, which refuses.
constexpr int32_t RENDERER_DRAWS_INTO_IMAGES = 2;
// Shapes are gathered and reach the device later, at the latest when state
// outside the batch changes, pixels are read back, or the frame is
// submitted or flipped: a program making graphics calls of its own between
// the layer's calls submit()s first.
constexpr int32_t RENDERER_BATCHES = 4;

enum class TexturedPrimitive : int32_t { Polygon, TriangleStrip };

struct TexturedVertex {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0; // the normal
    uint8_t rgba[4] = {0, 0, 0, 0};
    float u = 0, v = 0;
};

class TRenderDriver : public TDisplayDriver {
public:
    // Short, lower case and never changed; each renderer has its own (a
    // decorator standing in front of one answers with that one's).
    virtual std::string_view id() const = 0;
    // RENDERER_* flags, ORed; the same for the renderer's whole life.
    virtual int32_t capabilities() const = 0;

    virtual Ref<TImageFrame> create_frame_from_pixmap(const Ref<TPixmap>& pixmap, int32_t flags) = 0;
    virtual void set_blend(int32_t mode) = 0;
    virtual void set_alpha(float alpha) = 0;
    virtual void set_colour(int32_t red, int32_t green, int32_t blue) = 0;
    virtual void set_clear_colour(int32_t red, int32_t green, int32_t blue) = 0;
    virtual void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void set_matrix(float ix, float iy, float jx, float jy) = 0;
    virtual void set_line_width(float width) = 0;

    virtual void clear() = 0;
    virtual void plot(float x, float y) = 0;
    virtual void stroke_line(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void fill_rect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    virtual void fill_oval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    // coordinates: x, y pairs; each point (x + hx, y + hy) is transformed.
    virtual void fill_poly(std::span<const float> coordinates, float hx, float hy, float tx,
                           float ty) = 0;
    // Unscaled, untransformed, top-left corner at (x, y).
    virtual void blit_pixmap(const Ref<TPixmap>& pixmap, int32_t x, int32_t y) = 0;
    // The pixels of the back buffer in FORMAT_RGBA32, top row first.
    virtual Ref<TPixmap> read_back_pixmap(int32_t x, int32_t y, int32_t width, int32_t height) = 0;

    // Vertex colours set the material colour too, for the whole context.
    virtual void use_vertex_colours() = 0;
    // frame must be one this renderer made; raises otherwise.
    virtual void bind_textured_frame(const Ref<TImageFrame>& frame) = 0;
    // One primitive; nothing else is drawn between begin and end.
    virtual void begin_textured(TexturedPrimitive primitive) = 0;
    virtual void textured_vertex(const TexturedVertex& vertex) = 0;
    virtual void end_textured() = 0;

    // Offscreen images (gfx/render_image.h). A frame of width x height that
    // drawing can target, cleared to transparent; null, with the reason in
    // last_graphics_error(), when the renderer cannot make one.
    virtual Ref<TImageFrame> create_render_frame(int32_t width, int32_t height, int32_t flags);
    // Draws into frame (one of create_render_frame's) from now on, or into
    // the current graphics' window for null: viewport and projection follow
    // the target, the rest of the state is the caller's. Raises, leaving the
    // target as it was, when the frame cannot be drawn into.
    virtual void set_render_frame(const Ref<TImageFrame>& frame);
};

} // namespace vantrel
