// TGLTextureFrame: texture size, edge extension, texture creation, upload,
// drawing and deletion.
#include "gfx/gl/gl_texture_frame.h"

#include "assets/pixmap.h"
#include "assets/pixmap_ops.h"
#include "core/error.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_shape_sink.h"
#include "gfx/gl/gl_shared_context.h"
#include "gfx/gl/gl_texture_picture.h"
#include "gfx/graphics.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

namespace vantrel {
namespace {

bool texture_size_accepted(int32_t w, int32_t h)
{
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 4, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width != 0;
}

void set_filters(int32_t flags)
{
    const TextureFilters filters = texture_filters(flags);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filters.mag);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filters.min);
}

void upload_level(const Ref<TPixmap>& t, GLint level)
{
    glPixelStorei(GL_UNPACK_ROW_LENGTH, t->pitch / pixel_bytes(t->format));
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, t->width, t->height, GL_RGBA, GL_UNSIGNED_BYTE,
                    t->pixels);
}

} // namespace

void fit_texture_size(int32_t w, int32_t h, int32_t& tw, int32_t& th)
{
    tw = power_of_two_at_least(w);
    th = power_of_two_at_least(h);
    while (!texture_size_accepted(tw, th)) {
        if (tw == 1 && th == 1)
            raise_error(u"Unable to calculate tex size");
        if (tw > 1)
            tw /= 2;
        if (th > 1)
            th /= 2;
    }
}

int32_t power_of_two_at_least(int32_t v)
{
    int32_t p = 1;
    while (p < v && p < (1 << 30))
        p <<= 1;
    return p;
}

Ref<TPixmap> as_rgba(const Ref<TPixmap>& p)
{
    return p->format == FORMAT_RGBA32 ? p : p->convert(FORMAT_RGBA32);
}

Ref<TPixmap> extend_to_texture(const Ref<TPixmap>& picture, int32_t tw, int32_t th)
{
    const int32_t w = picture->width, h = picture->height;
    auto t = new_pixmap(tw, th, FORMAT_RGBA32, 4);
    if (w <= 0 || h <= 0) { // nothing to repeat: a transparent texture
        std::fill_n(t->pixels, static_cast<size_t>(t->capacity), uint8_t{0});
        return t;
    }
    t->paste(picture, 0, 0);
    // Repeat the last texel of each row out to the right edge, then the
    // last row (now full width) down to the bottom.
    for (int32_t y = 0; y < h && w < tw; ++y) {
        const uint8_t* edge = t->pixel_ptr(w - 1, y);
        for (uint8_t* p = t->pixel_ptr(w, y); p != t->pixel_ptr(tw, y); p += 4)
            std::copy_n(edge, 4, p);
    }
    for (int32_t y = h; y < th; ++y)
        std::copy_n(t->pixel_ptr(0, h - 1), static_cast<size_t>(tw) * 4, t->pixel_ptr(0, y));
    return t;
}

uint32_t create_texture(int32_t w, int32_t h, int32_t flags)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    set_filters(flags);
    GLint level = 0;
    for (;;) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (!(flags & IMAGE_MIPMAPPED) || (w == 1 && h == 1))
            break;
        w = std::max(w / 2, 1);
        h = std::max(h / 2, 1);
        ++level;
    }
    return name;
}

void upload_texture(const Ref<TPixmap>& t, int32_t flags)
{
    upload_level(t, 0);
    if (flags & IMAGE_MIPMAPPED)
        for_each_smaller_level(t, [](const Ref<TPixmap>& level, int32_t i) { upload_level(level, i); });
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

TGLTextureFrame::TGLTextureFrame() = default;

TGLTextureFrame::~TGLTextureFrame()
{
    if (seq == 0 || texture == 0)
        return;
    auto driver = gl_graphics_driver();
    if (driver->texture_group() != group)
        return; // its group's contexts are gone, and the texture with them
    gl_render_driver()->forget_texture(texture);
    in_shared_context(*driver, [this] { glDeleteTextures(1, &texture); });
    seq = 0;
}

Ref<TGLTextureFrame> TGLTextureFrame::create_from_pixmap(const Ref<TPixmap>& pixmap, int32_t flags)
{
    const TexturePicture t = texture_picture(pixmap, &fit_texture_size);
    auto frame = make_ref<TGLTextureFrame>();
    frame->texture = create_texture(t.texture_width, t.texture_height, flags);
    frame->seq = graphics_seq();
    frame->group = gl_graphics_driver()->texture_group();
    upload_texture(t.texels, flags);
    // Finish the upload here so other contexts see a complete texture.
    glFlush();
    frame->u_right = static_cast<float>(t.width) / static_cast<float>(t.texture_width);
    frame->v_bottom = static_cast<float>(t.height) / static_cast<float>(t.texture_height);
    return frame;
}

void TGLTextureFrame::draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    auto r = gl_render_driver();
    r->enable_texture(texture);
    GLShapeSink sink;
    shape::textured_rect(sink, r->matrix(), x0, y0, x1, y1, tx, ty, u_left, v_top, u_right,
                         v_bottom);
}

} // namespace vantrel
