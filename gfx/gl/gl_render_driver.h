// GLRenderDriver: the OpenGL 2-D renderer, named "OpenGL".
//
// Wraps GLGraphicsDriver for windows and contexts and draws with the
// fixed-function pipeline in immediate mode, one glBegin/glEnd per shape,
// applying the 2 x 2 matrix on the processor (the model-view matrix stays
// identity). Three caches (blend mode, bound texture, 2-D texturing on)
// keep repeated state changes away from OpenGL; they are reset whenever a
// graphics is made current.
//
// Textures are bound and 2-D texturing switched only through enable_texture
// and disable_texture: any other way leaves the caches wrong. Textured
// primitives (bind_textured_frame) go through them too.
#pragma once

#include "gfx/image.h"
#include "gfx/render_driver.h"
#include "gfx/renderer_rules.h"

#include <climits>
#include <cstdint>

namespace vantrel {

class GLRenderDriver final : public TRenderDriver {
public:
    // The blend cache's value when the context's blend state is not known.
    static constexpr int32_t BLEND_UNKNOWN = INT32_MIN;

    Text to_string() const override;
    std::string_view id() const override { return "gl"; }
    int32_t capabilities() const override
    {
        return RENDERER_DRAWS_PIXELS | RENDERER_DRAWS_INTO_IMAGES;
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
    void use_vertex_colours() override;
    void bind_textured_frame(const Ref<TImageFrame>& frame) override;
    void begin_textured(TexturedPrimitive primitive) override;
    void textured_vertex(const TexturedVertex& vertex) override;
    void end_textured() override;
    // gl_render_frame.cpp
    Ref<TImageFrame> create_render_frame(int32_t width, int32_t height, int32_t flags) override;
    void set_render_frame(const Ref<TImageFrame>& frame) override;
    // The offscreen image's frame drawn into (a GLRenderFrame); null while
    // drawing into the window.
    const Ref<TImageFrame>& render_frame() const { return target_; }

    // The frame moved in its window's drawable (scaled presentation):
    // viewport and scissor follow it.
    void frame_moved();

    void enable_texture(uint32_t name);
    void disable_texture();
    // A texture is being deleted: a cached binding of its name is no longer
    // true (the drawing context keeps the old object bound, and the name can
    // come back for a new texture).
    void forget_texture(uint32_t name);

    // Screen position of a local point: (u, v) turned by the matrix plus (tx, ty).
    float screen_x(float u, float v, float tx) const { return matrix_.x(u, v, tx); }
    float screen_y(float u, float v, float ty) const { return matrix_.y(u, v, ty); }
    const ScreenMatrix& matrix() const { return matrix_; }

    // Read-only views of the state, for tests and diagnostics.
    int32_t cached_blend() const { return blend_cache_; }
    uint32_t cached_texture() const { return texture_cache_; }
    bool cached_texturing() const { return texturing_cache_ != 0; }
    void colour_bytes(uint8_t out[4]) const;

private:
    void apply_colour();

    ScreenMatrix matrix_;
    uint8_t colour_[4] = {0, 0, 0, 0};
    int32_t blend_cache_ = BLEND_UNKNOWN;
    uint32_t texture_cache_ = 0;
    int32_t texturing_cache_ = 0;
    Ref<TImageFrame> target_;
};

// The process's one OpenGL renderer.
Ref<GLRenderDriver> gl_render_driver();

} // namespace vantrel
