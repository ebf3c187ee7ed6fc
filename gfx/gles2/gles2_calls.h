// The OpenGL ES 2.0 entry points the renderer uses, looked up through the
// platform once a context exists (gles2_load_calls). Calls go through the
// table: gles.glClear(...).
#pragma once

#include <GLES2/gl2.h>

#include <string>

namespace vantrel {

#define VANTREL_GLES2_CALLS(X)                                                               \
    X(glActiveTexture) X(glAttachShader) X(glBindAttribLocation) X(glBindBuffer)             \
    X(glBindTexture) X(glBlendFunc) X(glBlendFuncSeparate) X(glBufferData) X(glClear)        \
    X(glClearColor) X(glCompileShader) X(glCreateProgram) X(glCreateShader)                  \
    X(glDeleteShader) X(glDeleteTextures) X(glDisable) X(glDrawArrays) X(glEnable)           \
    X(glEnableVertexAttribArray) X(glFlush) X(glGenBuffers) X(glGenTextures) X(glGetError)   \
    X(glGetIntegerv) X(glGetProgramInfoLog) X(glGetProgramiv) X(glGetShaderInfoLog)          \
    X(glGetShaderiv) X(glGetString) X(glGetUniformLocation) X(glLineWidth) X(glLinkProgram)  \
    X(glPixelStorei) X(glReadPixels) X(glScissor) X(glShaderSource) X(glTexImage2D)          \
    X(glTexParameteri) X(glUniform1f) X(glUniform1i) X(glUniform2f) X(glUseProgram)          \
    X(glVertexAttribPointer) X(glViewport)

struct Gles2Calls {
#define VANTREL_GLES2_MEMBER(name) decltype(&::name) name = nullptr;
    VANTREL_GLES2_CALLS(VANTREL_GLES2_MEMBER)
#undef VANTREL_GLES2_MEMBER
};

extern Gles2Calls gles;

// Looks every entry point up (the first time); false with the name of the
// first one missing in reason.
bool gles2_load_calls(std::string& reason);

} // namespace vantrel
