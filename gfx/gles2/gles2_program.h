// The renderer's one shader program (GLSL ES 1.00): vertices in screen
// pixels with their texture coordinates and colour; the fragment is the
// colour, times the texel when texturing, and is discarded below the alpha
// threshold (the mask blend mode's one half).
#pragma once

#include <GLES2/gl2.h>

#include <string>

namespace vantrel {

constexpr GLuint ATTRIBUTE_POSITION = 0;
constexpr GLuint ATTRIBUTE_UV = 1;
constexpr GLuint ATTRIBUTE_COLOUR = 2;

struct Gles2Program {
    GLuint name = 0;
    GLint screen = -1;    // vec2: the frame's width and height
    GLint texturing = -1; // float: 1 to multiply by the texel
    GLint threshold = -1; // float: alpha below it is discarded
    GLint texture = -1;   // sampler2D, unit 0
};

// The program of the contexts' share group, made by the first context
// check; name 0 before.
const Gles2Program& gles2_program();

// The check every new ES context passes, run while it is current: an ES
// context of version 2 or later, every entry point, and the program
// compiled and linked. reason says, in one line, what failed.
bool gles2_context_usable(std::string& reason);

} // namespace vantrel
