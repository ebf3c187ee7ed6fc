// Offscreen images: the target switch, the window state kept for the way
// back, and read-back. The renderers draw into the frames.
#include "gfx/render_image.h"

#include "core/error.h"
#include "gfx/gfx_state.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "gfx/render_driver.h"

#include <string>

namespace vantrel {
namespace {

RenderTargetState& target_state() { return gfx_state().render_target; }

Ref<TImageFrame> render_frame_of(const Ref<TImage>& image)
{
    if (!is_render_image(image))
        raise_error(u"The image is not an offscreen image");
    return image->frames[0];
}

Ref<TGraphics2D> drawing_graphics()
{
    // The 2-D state outlives a closed window; the current graphics does not.
    Ref<TGraphics2D> g2d = current_graphics2d();
    if (!g2d || !current_renderer() || !current_graphics())
        raise_error(u"Drawing into an offscreen image needs open graphics");
    return g2d;
}

// Calls pair(graphics field, copy field) for every field of the copy.
template <class G, class C, class Pair>
void each_field(G& g, C& c, Pair pair)
{
    pair(g.colour_red, c.colour_red);
    pair(g.colour_green, c.colour_green);
    pair(g.colour_blue, c.colour_blue);
    pair(g.alpha, c.alpha);
    pair(g.clear_red, c.clear_red);
    pair(g.clear_green, c.clear_green);
    pair(g.clear_blue, c.clear_blue);
    pair(g.line_width, c.line_width);
    pair(g.rotation, c.rotation);
    pair(g.scale_x, c.scale_x);
    pair(g.scale_y, c.scale_y);
    pair(g.ix, c.ix);
    pair(g.iy, c.iy);
    pair(g.jx, c.jx);
    pair(g.jy, c.jy);
    pair(g.viewport_x, c.viewport_x);
    pair(g.viewport_y, c.viewport_y);
    pair(g.viewport_width, c.viewport_width);
    pair(g.viewport_height, c.viewport_height);
    pair(g.origin_x, c.origin_x);
    pair(g.origin_y, c.origin_y);
    pair(g.handle_x, c.handle_x);
    pair(g.handle_y, c.handle_y);
    pair(g.image_font, c.image_font);
    pair(g.blend_mode, c.blend_mode);
}

DrawingStateCopy copy_of(const TGraphics2D& g)
{
    DrawingStateCopy c;
    each_field(g, c, [](const auto& from, auto& to) { to = from; });
    return c;
}

// Stores the copy and hands it to the renderer, as binding a graphics does.
void restore(TGraphics2D& g, TRenderDriver& r, const DrawingStateCopy& c)
{
    each_field(g, c, [](auto& to, const auto& from) { to = from; });
    r.set_viewport(g.viewport_x, g.viewport_y, g.viewport_width, g.viewport_height);
    r.set_matrix(g.ix, g.iy, g.jx, g.jy);
    r.set_colour(g.colour_red, g.colour_green, g.colour_blue);
    r.set_alpha(g.alpha);
    r.set_blend(g.blend_mode);
    r.set_clear_colour(g.clear_red, g.clear_green, g.clear_blue);
    r.set_line_width(g.line_width);
}

void set_target_size(int32_t width, int32_t height)
{
    GraphicsSettings& settings = gfx_state().settings;
    settings.width = width;
    settings.height = height;
}

Text size_text(int32_t width, int32_t height)
{
    return Text::from_bytes(std::to_string(width) + " x " + std::to_string(height));
}

} // namespace

Ref<TImageFrame> TRenderDriver::create_render_frame(int32_t, int32_t, int32_t)
{
    set_graphics_error(u"The " + to_string() + u" renderer cannot draw into images");
    return nullptr;
}

void TRenderDriver::set_render_frame(const Ref<TImageFrame>& frame)
{
    if (frame)
        raise_error(u"The " + to_string() + u" renderer cannot draw into images");
}

Ref<TImage> create_render_image(int32_t width, int32_t height, int32_t flags)
{
    set_graphics_error(Text());
    const Ref<TRenderDriver> r = current_renderer();
    if (!r || !current_graphics2d() || !current_graphics()) {
        set_graphics_error(u"An offscreen image needs open graphics");
        return nullptr;
    }
    if (width < 1 || height < 1) {
        set_graphics_error(u"An offscreen image must be at least 1 x 1, not " +
                           size_text(width, height));
        return nullptr;
    }
    flags &= IMAGE_FILTERED;
    Ref<TImageFrame> frame = r->create_render_frame(width, height, flags);
    if (!frame) {
        if (last_graphics_error().empty())
            set_graphics_error(u"The renderer made no offscreen image of " +
                               size_text(width, height));
        return nullptr;
    }
    Ref<TImage> image = TImage::create(width, height, 1, flags, 0, 0, 0);
    image->frames[0] = std::move(frame);
    image->generations[0] = graphics_seq();
    return image;
}

bool is_render_image(const Ref<TImage>& image)
{
    return image && image->frames.size() == 1 && image->frames[0] &&
           image->frames[0]->is_render_target();
}

Ref<TImage> render_target() { return target_state().image; }

void set_render_target(const Ref<TImage>& image)
{
    RenderTargetState& t = target_state();
    if (same_object(image, t.image))
        return;
    if (!image) {
        end_render_target();
        return;
    }
    const Ref<TImageFrame> frame = render_frame_of(image);
    const Ref<TGraphics2D> g2d = drawing_graphics();
    current_renderer()->set_render_frame(frame); // raises before anything changed
    if (!t.image) {
        t.window_state = copy_of(*g2d);
        t.window_width = screen_width();
        t.window_height = screen_height();
    }
    t.image = image;
    set_target_size(image->width, image->height);
    set_viewport(0, 0, image->width, image->height);
    set_origin(0, 0);
}

void end_render_target()
{
    RenderTargetState& t = target_state();
    if (!t.image)
        return;
    t.image = nullptr;
    set_target_size(t.window_width, t.window_height);
    const Ref<TGraphics2D> g2d = current_graphics2d();
    const Ref<TRenderDriver> r = current_renderer();
    if (!g2d || !r)
        return;
    r->set_render_frame(nullptr);
    restore(*g2d, *r, t.window_state);
    t.window_state = DrawingStateCopy{};
}

Ref<TPixmap> grab_render_image(const Ref<TImage>& image)
{
    const Ref<TImageFrame> frame = render_frame_of(image);
    drawing_graphics();
    const Ref<TRenderDriver> r = current_renderer();
    const Ref<TImage> target = target_state().image;
    if (same_object(image, target))
        return r->read_back_pixmap(0, 0, image->width, image->height);
    // Only the framebuffer changes hands: nothing is drawn meanwhile.
    const int32_t width = screen_width(), height = screen_height();
    r->set_render_frame(frame);
    set_target_size(image->width, image->height);
    Ref<TPixmap> pixels = r->read_back_pixmap(0, 0, image->width, image->height);
    set_target_size(width, height);
    r->set_render_frame(target ? target->frames[0] : Ref<TImageFrame>());
    return pixels;
}

} // namespace vantrel
