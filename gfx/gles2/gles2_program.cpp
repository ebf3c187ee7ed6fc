#include "gfx/gles2/gles2_program.h"

#include "gfx/gles2/gles2_calls.h"

#include <cstdio>
#include <vector>

namespace vantrel {
namespace {

Gles2Program program;

// z is turned as the first renderer's projection turns it, so vertices are
// clipped where they are there.
constexpr const char* VERTEX_SOURCE = R"(#version 100
attribute vec3 a_position;
attribute vec2 a_uv;
attribute vec4 a_colour;
uniform vec2 u_screen;
varying vec2 v_uv;
varying vec4 v_colour;
void main()
{
    gl_Position = vec4(a_position.x * 2.0 / u_screen.x - 1.0,
                       1.0 - a_position.y * 2.0 / u_screen.y, -a_position.z, 1.0);
    gl_PointSize = 1.0;
    v_uv = a_uv;
    v_colour = a_colour;
}
)";

constexpr const char* FRAGMENT_SOURCE = R"(#version 100
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D u_texture;
uniform float u_texturing;
uniform float u_threshold;
uniform float u_premultiplied;
varying vec2 v_uv;
varying vec4 v_colour;
void main()
{
    vec4 colour = v_colour;
    if (u_texturing > 0.5)
        colour *= texture2D(u_texture, v_uv);
    if (colour.a < u_threshold)
        discard;
    vec4 level = floor(clamp(colour, 0.0, 1.0) * 255.0 + 0.5);
    if (u_premultiplied > 0.5) {
        // t / 255 rounded, as (t + t / 256 + 128) / 256 in whole numbers.
        vec3 t = level.rgb * level.a;
        level.rgb = floor((t + floor(t / 256.0) + 128.0) / 256.0);
    }
    gl_FragColor = level / 255.0;
}
)";

// The first line of a compiler's or linker's log.
std::string first_line(std::vector<char> log)
{
    std::string line(log.data());
    const size_t end = line.find('\n');
    return end == std::string::npos ? line : line.substr(0, end);
}

GLuint compile(GLenum kind, const char* source, std::string& reason)
{
    const GLuint shader = gles.glCreateShader(kind);
    gles.glShaderSource(shader, 1, &source, nullptr);
    gles.glCompileShader(shader);
    GLint ok = 0;
    gles.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok)
        return shader;
    std::vector<char> log(512, '\0');
    gles.glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size() - 1), nullptr, log.data());
    reason = std::string(kind == GL_VERTEX_SHADER ? "The vertex" : "The fragment") +
             " shader does not compile: " + first_line(log);
    gles.glDeleteShader(shader);
    return 0;
}

bool link(GLuint vertex, GLuint fragment, std::string& reason)
{
    const GLuint name = gles.glCreateProgram();
    gles.glAttachShader(name, vertex);
    gles.glAttachShader(name, fragment);
    gles.glBindAttribLocation(name, ATTRIBUTE_POSITION, "a_position");
    gles.glBindAttribLocation(name, ATTRIBUTE_UV, "a_uv");
    gles.glBindAttribLocation(name, ATTRIBUTE_COLOUR, "a_colour");
    gles.glLinkProgram(name);
    gles.glDeleteShader(vertex);
    gles.glDeleteShader(fragment);
    GLint ok = 0;
    gles.glGetProgramiv(name, GL_LINK_STATUS, &ok);
    if (!ok) {
        std::vector<char> log(512, '\0');
        gles.glGetProgramInfoLog(name, static_cast<GLsizei>(log.size() - 1), nullptr, log.data());
        reason = "The shader program does not link: " + first_line(log);
        return false;
    }
    program.name = name;
    program.screen = gles.glGetUniformLocation(name, "u_screen");
    program.texturing = gles.glGetUniformLocation(name, "u_texturing");
    program.threshold = gles.glGetUniformLocation(name, "u_threshold");
    program.premultiplied = gles.glGetUniformLocation(name, "u_premultiplied");
    program.texture = gles.glGetUniformLocation(name, "u_texture");
    gles.glUseProgram(name);
    gles.glUniform1i(program.texture, 0);
    return true;
}

bool make_program(std::string& reason)
{
    const GLuint vertex = compile(GL_VERTEX_SHADER, VERTEX_SOURCE, reason);
    if (!vertex)
        return false;
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, FRAGMENT_SOURCE, reason);
    if (!fragment) {
        gles.glDeleteShader(vertex);
        return false;
    }
    return link(vertex, fragment, reason);
}

bool es2_or_later(std::string& reason)
{
    const auto* version = reinterpret_cast<const char*>(gles.glGetString(GL_VERSION));
    int major = 0;
    if (!version || std::sscanf(version, "OpenGL ES %d", &major) != 1 || major < 2) {
        reason = std::string("Not an OpenGL ES 2.0 context (") + (version ? version : "no version") +
                 ")";
        return false;
    }
    return true;
}

} // namespace

const Gles2Program& gles2_program() { return program; }

bool gles2_context_usable(std::string& reason)
{
    if (!gles2_load_calls(reason) || !es2_or_later(reason))
        return false;
    return program.name != 0 || make_program(reason);
}

} // namespace vantrel
