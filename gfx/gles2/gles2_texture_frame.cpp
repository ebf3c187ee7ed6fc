#include "gfx/gles2/gles2_texture_frame.h"

#include "assets/pixmap.h"
#include "assets/pixmap_ops.h"
#include "core/error.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/gl/gl_shared_context.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/gl/gl_texture_picture.h"
#include "gfx/gles2/gles2_calls.h"
#include "gfx/gles2/gles2_render_driver.h"
#include "gfx/graphics.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vantrel {
namespace {

// ES has no proxy textures: the largest size it takes is all it says.
void fit_size(int32_t w, int32_t h, int32_t& tw, int32_t& th)
{
    GLint largest = 0;
    gles.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (largest < 1)
        raise_error(u"Unable to calculate tex size");
    tw = std::min(power_of_two_at_least(w), static_cast<int32_t>(largest));
    th = std::min(power_of_two_at_least(h), static_cast<int32_t>(largest));
}

// ES takes rows packed (no row length): the pixmap's rows, copied when its
// pitch has padding.
std::vector<uint8_t> packed_rows(const Ref<TPixmap>& p)
{
    const size_t row = static_cast<size_t>(p->width) * 4;
    std::vector<uint8_t> out(row * static_cast<size_t>(p->height));
    for (int32_t y = 0; y < p->height; ++y)
        std::memcpy(&out[row * y], p->pixel_ptr(0, y), row);
    return out;
}

void upload_level(const Ref<TPixmap>& t, GLint level)
{
    const std::vector<uint8_t> rows = packed_rows(t);
    gles.glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, t->width, t->height, 0, GL_RGBA,
                      GL_UNSIGNED_BYTE, rows.data());
}

void set_filters(int32_t flags)
{
    const TextureFilters filters = texture_filters(flags);
    gles.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filters.mag);
    gles.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filters.min);
}

GLuint new_texture(int32_t flags)
{
    GLuint name = 0;
    gles.glGenTextures(1, &name);
    gles.glBindTexture(GL_TEXTURE_2D, name);
    gles.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gles.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    set_filters(flags);
    gles.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return name;
}

} // namespace

uint32_t upload_picture(const Ref<TPixmap>& pixmap)
{
    const GLuint name = new_texture(0);
    upload_level(as_rgba(pixmap), 0);
    return name;
}

TGles2TextureFrame::~TGles2TextureFrame()
{
    if (seq == 0 || texture == 0)
        return;
    auto driver = gles2_graphics_driver();
    if (driver->texture_group() != group)
        return; // its group's contexts are gone, and the texture with them
    auto renderer = gles2_render_driver();
    renderer->flush();
    renderer->forget_texture(texture);
    in_shared_context(*driver, [this] { gles.glDeleteTextures(1, &texture); });
    seq = 0;
}

Ref<TGles2TextureFrame> TGles2TextureFrame::create_from_pixmap(const Ref<TPixmap>& pixmap,
                                                               int32_t flags)
{
    const TexturePicture t = texture_picture(pixmap, &fit_size);
    auto frame = make_ref<TGles2TextureFrame>();
    frame->texture = new_texture(flags);
    frame->seq = graphics_seq();
    frame->group = gles2_graphics_driver()->texture_group();
    upload_level(t.texels, 0);
    if (flags & IMAGE_MIPMAPPED)
        for_each_smaller_level(t.texels, [](const Ref<TPixmap>& level, int32_t i) { upload_level(level, i); });
    // Finish the upload here so other contexts see a complete texture.
    gles.glFlush();
    frame->uv[2] = static_cast<float>(t.width) / static_cast<float>(t.texture_width);
    frame->uv[3] = static_cast<float>(t.height) / static_cast<float>(t.texture_height);
    return frame;
}

void TGles2TextureFrame::draw(float x0, float y0, float x1, float y1, float tx, float ty)
{
    gles2_render_driver()->draw_frame(texture, x0, y0, x1, y1, tx, ty, uv);
}

} // namespace vantrel
