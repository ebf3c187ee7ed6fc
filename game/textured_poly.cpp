// The textured-polygon facility over the OpenGL renderer: the game's only
// direct OpenGL code.
#include "game/textured_poly.h"

#include "gfx/gl/gl_render_driver.h"
#include "gfx/gl/gl_texture_frame.h"
#include "gfx/graphics2d.h"
#include "gfx/image.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <bit>

namespace vantrel {

namespace {

// Kept on purpose: the facility asks whether the current renderer is the
// "DirectX7" one, which never exists here, so the answer is always no and
// GL_COLOR_MATERIAL is always enabled (with no lighting it changes nothing).
bool renderer_is_directx7 = false;
Ref<TImageFrame> selected_frame;   // the frame whose texture is bound
bool primitive_open = false;       // inside glBegin

void open_primitive(int32_t mode)
{
    glBegin(mode == TEXTURED_POLY_POLYGON ? GL_POLYGON : GL_TRIANGLE_STRIP);
    primitive_open = true;
}

// glEnd outside glBegin is a GL error, so only an open primitive is closed.
void close_primitive()
{
    if (primitive_open)
        glEnd();
    primitive_open = false;
}

void send_vertex(const float* v)
{
    const uint32_t c = vertex_colour_bits(v[6]);
    const GLubyte rgba[4] = {static_cast<GLubyte>((c >> 16) & 255),
                             static_cast<GLubyte>((c >> 8) & 255),
                             static_cast<GLubyte>(c & 255), static_cast<GLubyte>(c >> 24)};
    glColor4ubv(rgba);
    glNormal3f(v[3], v[4], v[5]);
    glTexCoord2f(v[7], v[8]);
    glVertex3f(v[0], v[1], v[2]);
}

} // namespace

float pack_vertex_colour(int32_t red, int32_t green, int32_t blue, int32_t alpha)
{
    const uint32_t bits = (static_cast<uint32_t>(alpha & 255) << 24) |
                          (static_cast<uint32_t>(red & 255) << 16) |
                          (static_cast<uint32_t>(green & 255) << 8) |
                          static_cast<uint32_t>(blue & 255);
    return std::bit_cast<float>(bits);
}

uint32_t vertex_colour_bits(float slot)
{
    return std::bit_cast<uint32_t>(slot);
}

void textured_poly_init()
{
    // Kept on purpose: a test for a renderer this system never has (above).
    renderer_is_directx7 = current_renderer()->to_string() == Text(u"DirectX7");
    if (!renderer_is_directx7)
        glEnable(GL_COLOR_MATERIAL); // no lighting, so no visible effect
}

void textured_poly_begin()
{
    selected_frame.reset();
}

// A primitive is opened whenever none is open, whatever close says, so
// that vertices never go outside glBegin and glBegin never nests.
void textured_poly_select(const Ref<TImage>& image, int32_t frame, int32_t mode,
                          int32_t /*close*/)
{
    Ref<TImageFrame> wanted = image->frame(frame);
    if (same_object(wanted, selected_frame)) {
        if (!primitive_open) // a draw with close 1 ended the last one
            open_primitive(mode);
        return;
    }
    close_primitive();
    selected_frame = wanted;
    auto gl_frame = ref_cast<TGLTextureFrame>(wanted);
    gl_render_driver()->enable_texture(gl_frame->texture);
    glShadeModel(GL_SMOOTH);
    open_primitive(mode);
}

int32_t textured_poly_draw(const Ref<TImage>& image, int32_t frame,
                           std::span<const float> vertices, int32_t mode, int32_t close)
{
    const size_t n = vertices.size();
    // Kept on purpose: the size test counts floats, not 9-float vertices, so
    // fewer than 6 or an odd count is ignored while a ragged even tail is
    // accepted and its partial vertex left out below.
    if (n < 6 || n % 2 != 0)
        return 0;
    textured_poly_select(image, frame, mode, close);
    for (size_t at = 0; at + TEXTURED_POLY_FLOATS_PER_VERTEX <= n;
         at += TEXTURED_POLY_FLOATS_PER_VERTEX)
        send_vertex(&vertices[at]);
    if (close == 1)
        close_primitive();
    return 0;
}

void textured_poly_end()
{
    selected_frame.reset();
    close_primitive();
}

} // namespace vantrel
