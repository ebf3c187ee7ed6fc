// The renderer's one shader program (GLSL ES 1.00): vertices in screen
// pixels with their texture coordinates and colour; the fragment is the
// colour, times the texel when texturing, and is discarded below the alpha
// threshold (the mask blend mode's one half).
//
// ES leaves the precision of blending and of the colour's rounding to the
// implementation, and two implementations then differ by a level here and
// there. So the shader does in exact arithmetic what they would round each
// their own way, as Mesa's llvmpipe rounds it (its frames stay what its
// blender gave):
// - it rounds the colour to the framebuffer's 8 bits per channel;
// - for the blend modes that add the source times its alpha, it multiplies
//   the colour by its alpha there, rounded as an 8-bit product is, and the
//   blend adds it unscaled.
// What is left to the implementation, filtering and the destination times
// one minus the source alpha, differs between implementations in far fewer
// pixels.
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
    GLint premultiplied = -1; // float: 1 to give the colour times its alpha
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
