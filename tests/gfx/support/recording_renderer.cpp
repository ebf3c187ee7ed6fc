#include "recording_renderer.h"

#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/null/null_render_driver.h"

namespace vantrel::test {
namespace {

class RecordedFrame final : public TImageFrame {
public:
    RecordedFrame(Ref<TImageFrame> real_frame, Ref<TImageFrame> null_frame)
        : real(std::move(real_frame)), recorded(std::move(null_frame))
    {
    }

    void draw(float x0, float y0, float x1, float y1, float tx, float ty) override
    {
        real->draw(x0, y0, x1, y1, tx, ty);
        recorded->draw(x0, y0, x1, y1, tx, ty);
    }

    Ref<TImageFrame> real, recorded;
};

} // namespace

RecordingRenderer::RecordingRenderer(Ref<TRenderDriver> real)
    : real_(std::move(real)), recorder_(null_render_driver())
{
}

Text RecordingRenderer::to_string() const { return real_->to_string(); }
std::string_view RecordingRenderer::id() const { return real_->id(); }
int32_t RecordingRenderer::capabilities() const
{
    return real_->capabilities() & ~RENDERER_DRAWS_INTO_IMAGES;
}
TGraphicsModeArray RecordingRenderer::list_modes() { return real_->list_modes(); }

// The real renderer's graphics, drawn through this one.
Ref<TGraphics> RecordingRenderer::as_ours(Ref<TGraphics> made)
{
    const Ref<TGraphics2D> g2d = ref_cast<TGraphics2D>(made);
    if (!g2d)
        return made;
    return make_ref<TGraphics2D>(g2d->backend, Ref<TRenderDriver>(this));
}

Ref<TGraphics> RecordingRenderer::wrap_window(const Ref<TObject>& window, int32_t flags)
{
    return as_ours(real_->wrap_window(window, flags));
}

Ref<TGraphics> RecordingRenderer::make_graphics(int32_t width, int32_t height, int32_t depth,
                                                int32_t hertz, int32_t flags)
{
    return as_ours(real_->make_graphics(width, height, depth, hertz, flags));
}

// The real renderer first: its binding makes the context current, which the
// first use's initial state and clears need.
void RecordingRenderer::bind_graphics(const Ref<TGraphics>& g)
{
    real_->bind_graphics(g);
    recorder_->bind_graphics(g);
}

void RecordingRenderer::flip(int32_t sync)
{
    recorder_->flip(sync);
    real_->flip(sync);
}

void RecordingRenderer::submit()
{
    recorder_->submit();
    real_->submit();
}

Ref<TImageFrame> RecordingRenderer::create_frame_from_pixmap(const Ref<TPixmap>& pixmap,
                                                             int32_t flags)
{
    Ref<TImageFrame> real = real_->create_frame_from_pixmap(pixmap, flags);
    return make_ref<RecordedFrame>(std::move(real),
                                   recorder_->create_frame_from_pixmap(pixmap, flags));
}

void RecordingRenderer::set_blend(int32_t mode) { both(&TRenderDriver::set_blend, mode); }
void RecordingRenderer::set_alpha(float alpha) { both(&TRenderDriver::set_alpha, alpha); }
void RecordingRenderer::set_colour(int32_t red, int32_t green, int32_t blue)
{
    both(&TRenderDriver::set_colour, red, green, blue);
}
void RecordingRenderer::set_clear_colour(int32_t red, int32_t green, int32_t blue)
{
    both(&TRenderDriver::set_clear_colour, red, green, blue);
}
void RecordingRenderer::set_viewport(int32_t x, int32_t y, int32_t width, int32_t height)
{
    both(&TRenderDriver::set_viewport, x, y, width, height);
}
void RecordingRenderer::set_matrix(float ix, float iy, float jx, float jy)
{
    both(&TRenderDriver::set_matrix, ix, iy, jx, jy);
}
void RecordingRenderer::set_line_width(float width)
{
    both(&TRenderDriver::set_line_width, width);
}
void RecordingRenderer::clear() { both(&TRenderDriver::clear); }
void RecordingRenderer::plot(float x, float y) { both(&TRenderDriver::plot, x, y); }
void RecordingRenderer::stroke_line(float x0, float y0, float x1, float y1, float tx, float ty)
{
    both(&TRenderDriver::stroke_line, x0, y0, x1, y1, tx, ty);
}
void RecordingRenderer::fill_rect(float x0, float y0, float x1, float y1, float tx, float ty)
{
    both(&TRenderDriver::fill_rect, x0, y0, x1, y1, tx, ty);
}
void RecordingRenderer::fill_oval(float x0, float y0, float x1, float y1, float tx, float ty)
{
    both(&TRenderDriver::fill_oval, x0, y0, x1, y1, tx, ty);
}
void RecordingRenderer::fill_poly(std::span<const float> coordinates, float hx, float hy,
                                  float tx, float ty)
{
    both(&TRenderDriver::fill_poly, coordinates, hx, hy, tx, ty);
}
void RecordingRenderer::blit_pixmap(const Ref<TPixmap>& pixmap, int32_t x, int32_t y)
{
    both(&TRenderDriver::blit_pixmap, pixmap, x, y);
}
void RecordingRenderer::use_vertex_colours() { both(&TRenderDriver::use_vertex_colours); }
void RecordingRenderer::begin_textured(TexturedPrimitive primitive)
{
    both(&TRenderDriver::begin_textured, primitive);
}
void RecordingRenderer::textured_vertex(const TexturedVertex& vertex)
{
    both(&TRenderDriver::textured_vertex, vertex);
}
void RecordingRenderer::end_textured() { both(&TRenderDriver::end_textured); }

Ref<TPixmap> RecordingRenderer::read_back_pixmap(int32_t x, int32_t y, int32_t width,
                                                 int32_t height)
{
    recorder_->read_back_pixmap(x, y, width, height);
    return real_->read_back_pixmap(x, y, width, height);
}

// A frame that is not a pair goes to the real renderer alone, which refuses it.
void RecordingRenderer::bind_textured_frame(const Ref<TImageFrame>& frame)
{
    const Ref<RecordedFrame> pair = ref_cast<RecordedFrame>(frame);
    if (!pair) {
        real_->bind_textured_frame(frame);
        return;
    }
    recorder_->bind_textured_frame(pair->recorded);
    real_->bind_textured_frame(pair->real);
}

namespace {

Ref<TDisplayDriver> (*real_display_driver)() = nullptr;
Ref<TRenderDriver> (*real_renderer)() = nullptr;

Ref<TDisplayDriver> display_driver() { return real_display_driver(); }

Ref<TRenderDriver> recording_renderer()
{
    static Ref<RecordingRenderer> wrapped;
    if (!wrapped || !same_object(wrapped->real(), real_renderer()))
        wrapped = make_ref<RecordingRenderer>(real_renderer());
    return wrapped;
}

constexpr TGraphicsBackend recording_backend{.display_driver = &display_driver,
                                             .renderer = &recording_renderer};

} // namespace

void record_registered_renderer()
{
    const TGraphicsBackend* backend = graphics_backend();
    if (backend && backend != &recording_backend) {
        real_display_driver = backend->display_driver;
        real_renderer = backend->renderer;
        register_graphics_backend(recording_backend);
    }
    recorded_calls().clear();
}

NullDrawLog& recorded_calls() { return null_render_driver()->log(); }

} // namespace vantrel::test
