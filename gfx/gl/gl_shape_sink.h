// Shapes of the renderer rules sent to OpenGL in immediate mode, one
// glBegin/glEnd pair each.
#pragma once

#include "gfx/renderer_rules.h"

#include <GL/gl.h>

namespace vantrel {

struct GLShapeSink {
    static GLenum mode(Primitive p)
    {
        switch (p) {
        case Primitive::Points: return GL_POINTS;
        case Primitive::Lines: return GL_LINES;
        case Primitive::Quads: return GL_QUADS;
        case Primitive::Polygon: break;
        }
        return GL_POLYGON;
    }
    void begin(Primitive p) { glBegin(mode(p)); }
    void vertex(float x, float y) { glVertex2f(x, y); }
    void vertex(float x, float y, float u, float v)
    {
        glTexCoord2f(u, v);
        glVertex2f(x, y);
    }
    void end() { glEnd(); }
};

} // namespace vantrel
