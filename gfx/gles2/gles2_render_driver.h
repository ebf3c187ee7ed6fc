// Gles2RenderDriver: the 2-D renderer on OpenGL ES 2.0, named "OpenGL ES".
//
// Draws what the first renderer draws, pixel for pixel where the API lets
// it: the same screen vertices (gfx/renderer_rules.h), turned into
// triangles, points or lines and batched (gles2_batch.h). Polygons become
// fans from their first vertex and quads the triangles (0, 1, 3) and
// (1, 2, 3), as the first renderer's pipeline splits them. Lines wider than one pixel, which ES need not draw, become quads
// extended across their major axis by the width. The mask blend mode is the
// shader's alpha threshold, and pixmap blits are drawn as textured quads.
//
// Like the fixed-function pipeline, a textured vertex's colour stays the
// colour of what is drawn next until the state's colour or alpha is set.
#pragma once

#include "gfx/gles2/gles2_batch.h"
#include "gfx/image.h"
#include "gfx/render_driver.h"
#include "gfx/renderer_rules.h"

#include <cstdint>
#include <vector>

namespace vantrel {

class GLGraphicsDriver;

class Gles2RenderDriver final : public TRenderDriver {
public:
    Text to_string() const override;
    std::string_view id() const override { return "gles2"; }
    int32_t capabilities() const override
    {
        return RENDERER_DRAWS_PIXELS | RENDERER_DRAWS_INTO_IMAGES | RENDERER_BATCHES;
    }

    // TDisplayDriver
    TGraphicsModeArray list_modes() override;
    Ref<TGraphics> wrap_window(const Ref<TObject>& window, int32_t flags) override;
    Ref<TGraphics> make_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                 int32_t flags) override;
    void bind_graphics(const Ref<TGraphics>& g) override;
    void flip(int32_t sync) override;
    void submit() override;

    // TRenderDriver
    Ref<TImageFrame> create_frame_from_pixmap(const Ref<TPixmap>& pixmap, int32_t flags) override;
    void set_blend(int32_t mode) override;
    void set_alpha(float alpha) override;
    void set_colour(int32_t red, int32_t green, int32_t blue) override;
    void set_clear_colour(int32_t red, int32_t green, int32_t blue) override;
    void set_viewport(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void set_matrix(float ix, float iy, float jx, float jy) override;
    void set_line_width(float width) override;
    void clear() override;
    void plot(float x, float y) override;
    void stroke_line(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void fill_rect(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void fill_oval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void fill_poly(std::span<const float> coordinates, float hx, float hy, float tx,
                   float ty) override;
    void blit_pixmap(const Ref<TPixmap>& pixmap, int32_t x, int32_t y) override;
    Ref<TPixmap> read_back_pixmap(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void use_vertex_colours() override {}
    void bind_textured_frame(const Ref<TImageFrame>& frame) override;
    void begin_textured(TexturedPrimitive primitive) override;
    void textured_vertex(const TexturedVertex& vertex) override;
    void end_textured() override;
    // gles2_render_frame.cpp
    Ref<TImageFrame> create_render_frame(int32_t width, int32_t height, int32_t flags) override;
    void set_render_frame(const Ref<TImageFrame>& frame) override;
    // The offscreen image's frame drawn into; null while drawing into the window.
    const Ref<TImageFrame>& render_frame() const { return target_; }

    // A shape of the renderer rules, in screen pixels: texture 0 draws it
    // untextured.
    void begin_shape(Primitive primitive, uint32_t texture);
    void shape_vertex(float x, float y, float u, float v);
    void end_shape();

    // An image frame's texture over the local rectangle, its picture at
    // uv (left, top, right, bottom).
    void draw_frame(uint32_t texture, float x0, float y0, float x1, float y1, float tx, float ty,
                    const float uv[4]);

    void frame_moved();
    // Draws what is batched; needed before the context or the textures change.
    void flush() { batch_.flush(); }
    void forget_texture(uint32_t name) { batch_.forget_texture(name); }
    const ScreenMatrix& matrix() const { return matrix_; }
    // Draw calls since the last call.
    int32_t take_draw_calls() { return batch_.take_draw_calls(); }

private:
    void use(GLenum mode, uint32_t texture);
    void emit(const Gles2Vertex& vertex) { batch_.push(vertex); }
    void emit_line(const Gles2Vertex& a, const Gles2Vertex& b);
    void end_triangles(bool strip);
    Gles2Vertex at(float x, float y, float u, float v) const;

    ScreenMatrix matrix_;
    uint8_t colour_[4] = {0, 0, 0, 0};  // the state's
    uint8_t current_[4] = {0, 0, 0, 0}; // what the next shape is drawn in
    float threshold_ = -1.0f;
    bool premultiplied_ = false;
    float line_width_ = 1.0f;
    Gles2Batch batch_;
    Primitive primitive_ = Primitive::Points;
    uint32_t shape_texture_ = 0;
    uint32_t textured_frame_ = 0;
    TexturedPrimitive textured_primitive_ = TexturedPrimitive::Polygon;
    std::vector<Gles2Vertex> pending_;
    Ref<TImageFrame> target_;
};

// The process's one ES 2.0 renderer, and the display driver under it.
Ref<Gles2RenderDriver> gles2_render_driver();
Ref<GLGraphicsDriver> gles2_graphics_driver();

} // namespace vantrel
