// A recording decorator in front of a real renderer: every call goes on to
// the renderer and, as well, to the null renderer, whose log (null_draw_log.h)
// so holds what the 2-D layer asked for, in the terms the null backend
// records, whichever renderer drew it. Image frames are pairs of the real
// renderer's frame and a null one.
#pragma once

#include "gfx/null/null_draw_log.h"
#include "gfx/render_driver.h"

namespace vantrel::test {

class RecordingRenderer final : public TRenderDriver {
public:
    explicit RecordingRenderer(Ref<TRenderDriver> real);

    Text to_string() const override;
    std::string_view id() const override;
    // The real renderer's, but offscreen images: they are not passed on.
    int32_t capabilities() const override;

    TGraphicsModeArray list_modes() override;
    Ref<TGraphics> wrap_window(const Ref<TObject>& window, int32_t flags) override;
    Ref<TGraphics> make_graphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                 int32_t flags) override;
    void bind_graphics(const Ref<TGraphics>& g) override;
    void flip(int32_t sync) override;
    void submit() override;

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

    const Ref<TRenderDriver>& real() const { return real_; }

private:
    Ref<TGraphics> as_ours(Ref<TGraphics> made);
    // The recorder first, so a call the real renderer raises on is in the log.
    template <class... Params, class... Args>
    void both(void (TRenderDriver::*call)(Params...), const Args&... args)
    {
        (recorder_.get()->*call)(args...);
        (real_.get()->*call)(args...);
    }

    Ref<TRenderDriver> real_;
    Ref<TRenderDriver> recorder_;
};

// Puts a RecordingRenderer in front of the registered graphics backend's
// renderer: call after the backend registers and before graphics2d_init
// selects it. The null renderer's log is emptied.
void record_registered_renderer();

// The calls recorded so far (the null renderer's log).
NullDrawLog& recorded_calls();

} // namespace vantrel::test
