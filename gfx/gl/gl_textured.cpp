// GLRenderDriver: textured primitives in immediate mode, with the vertex
// colours driving the material colour.
#include "gfx/gl/gl_render_driver.h"

#include "gfx/gl/gl_texture_frame.h"

#include <GL/gl.h>

namespace vantrel {

void GLRenderDriver::use_vertex_colours() { glEnable(GL_COLOR_MATERIAL); }

void GLRenderDriver::bind_textured_frame(const Ref<TImageFrame>& frame)
{
    // A frame of another renderer is the null object here, which raises.
    auto gl_frame = ref_cast<TGLTextureFrame>(frame);
    enable_texture(gl_frame->texture);
    glShadeModel(GL_SMOOTH);
}

void GLRenderDriver::begin_textured(TexturedPrimitive primitive)
{
    glBegin(primitive == TexturedPrimitive::Polygon ? GL_POLYGON : GL_TRIANGLE_STRIP);
}

void GLRenderDriver::textured_vertex(const TexturedVertex& vertex)
{
    glColor4ubv(vertex.rgba);
    glNormal3f(vertex.nx, vertex.ny, vertex.nz);
    glTexCoord2f(vertex.u, vertex.v);
    glVertex3f(vertex.x, vertex.y, vertex.z);
}

void GLRenderDriver::end_textured() { glEnd(); }

} // namespace vantrel
