// NullRenderDriver: a 2-D renderer that draws nothing and records every
// call in its log (null_draw_log.h), named "Null".
//
// It wraps NullGraphicsDriver as GLRenderDriver wraps the OpenGL display
// driver, turns shapes into vertices by the same rules (gfx/renderer_rules.h)
// and keeps the same drawing-state contract: binding a graphics gives the
// 2-D layer that graphics' state back. Image frames are null textures
// (null_texture_frame.h) numbered from 1. Read-back gives a blank
// (transparent black) pixmap: there are no pixels.
#pragma once

#include "gfx/image.h"
#include "gfx/null/null_draw_log.h"
#include "gfx/render_driver.h"

#include <cstdint>

namespace vantrel {

class NullRenderDriver final : public TRenderDriver {
public:
    Text to_string() const override;
    std::string_view id() const override { return "null"; }
    int32_t capabilities() const override { return RENDERER_DRAWS_INTO_IMAGES; }

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
    void use_vertex_colours() override;
    void bind_textured_frame(const Ref<TImageFrame>& frame) override;
    void begin_textured(TexturedPrimitive primitive) override;
    void textured_vertex(const TexturedVertex& vertex) override;
    void end_textured() override;
    // null_render_frame.cpp; the largest side is NULL_LARGEST_RENDER_SIDE.
    Ref<TImageFrame> create_render_frame(int32_t width, int32_t height, int32_t flags) override;
    void set_render_frame(const Ref<TImageFrame>& frame) override;
    // The offscreen image's frame drawn into; null while drawing into the window.
    const Ref<TImageFrame>& render_frame() const { return target_; }

    // What the null textures report: made, drawn (bound when it changes),
    // deleted.
    uint32_t new_texture(int32_t width, int32_t height, int32_t flags);
    void draw_texture(uint32_t texture, float x0, float y0, float x1, float y1, float tx,
                      float ty);
    void delete_texture(uint32_t texture);

    NullDrawLog& log() { return log_; }
    const ScreenMatrix& matrix() const { return matrix_; }
    // The RGBA bytes shapes are drawn in now.
    const uint8_t* colour() const { return colour_; }
    uint32_t bound_texture() const { return bound_texture_; }

private:
    NullCall entry(NullOp op) const;
    template <class Draw> void shape(uint32_t texture, Draw draw);

    NullDrawLog log_;
    ScreenMatrix matrix_;
    uint8_t colour_[4] = {0, 0, 0, 0};
    uint8_t clear_colour_[4] = {0, 0, 0, 255};
    uint32_t bound_texture_ = 0;
    uint32_t last_texture_ = 0;
    Ref<TImageFrame> target_;
};

// The process's one null renderer.
Ref<NullRenderDriver> null_render_driver();

} // namespace vantrel
