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

DrawingStateCopy copy_of(const TGraphics2D& g)
{
    DrawingStateCopy c;
    c.colour[0] = g.colour_red;
    c.colour[1] = g.colour_green;
    c.colour[2] = g.colour_blue;
    c.alpha = g.alpha;
    c.clear[0] = g.clear_red;
    c.clear[1] = g.clear_green;
    c.clear[2] = g.clear_blue;
    c.line_width = g.line_width;
    c.rotation = g.rotation;
    c.scale_x = g.scale_x;
    c.scale_y = g.scale_y;
    c.ix = g.ix;
    c.iy = g.iy;
    c.jx = g.jx;
    c.jy = g.jy;
    c.viewport[0] = g.viewport_x;
    c.viewport[1] = g.viewport_y;
    c.viewport[2] = g.viewport_width;
    c.viewport[3] = g.viewport_height;
    c.origin_x = g.origin_x;
    c.origin_y = g.origin_y;
    c.handle_x = g.handle_x;
    c.handle_y = g.handle_y;
    c.font = g.image_font;
    c.blend_mode = g.blend_mode;
    return c;
}

// Stores the copy and hands it to the renderer, as binding a graphics does.
void restore(TGraphics2D& g, TRenderDriver& r, const DrawingStateCopy& c)
{
    g.colour_red = c.colour[0];
    g.colour_green = c.colour[1];
    g.colour_blue = c.colour[2];
    g.alpha = c.alpha;
    g.clear_red = c.clear[0];
    g.clear_green = c.clear[1];
    g.clear_blue = c.clear[2];
    g.line_width = c.line_width;
    g.rotation = c.rotation;
    g.scale_x = c.scale_x;
    g.scale_y = c.scale_y;
    g.ix = c.ix;
    g.iy = c.iy;
    g.jx = c.jx;
    g.jy = c.jy;
    g.viewport_x = c.viewport[0];
    g.viewport_y = c.viewport[1];
    g.viewport_width = c.viewport[2];
    g.viewport_height = c.viewport[3];
    g.origin_x = c.origin_x;
    g.origin_y = c.origin_y;
    g.handle_x = c.handle_x;
    g.handle_y = c.handle_y;
    g.image_font = c.font;
    g.blend_mode = c.blend_mode;
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
