#include "gfx/gles2/gles2_batch.h"

#include "gfx/gles2/gles2_calls.h"
#include "gfx/gles2/gles2_program.h"

#include <cstddef>

namespace vantrel {

void Gles2Batch::set_screen(int32_t width, int32_t height)
{
    flush();
    width_ = static_cast<float>(width > 0 ? width : 1);
    height_ = static_cast<float>(height > 0 ? height : 1);
}

void Gles2Batch::rebind_texture() const
{
    if (texture_bound_ != UINT32_MAX)
        gles.glBindTexture(GL_TEXTURE_2D, texture_bound_);
}

int32_t Gles2Batch::take_draw_calls()
{
    const int32_t n = draw_calls_;
    draw_calls_ = 0;
    return n;
}

void Gles2Batch::flush()
{
    if (vertices_.empty())
        return;
    const Gles2Program& program = gles2_program();
    if (buffer_ == 0)
        gles.glGenBuffers(1, &buffer_); // shared by every context of the group
    gles.glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    gles.glBufferData(GL_ARRAY_BUFFER,
                      static_cast<GLsizeiptr>(vertices_.size() * sizeof(Gles2Vertex)),
                      vertices_.data(), GL_STREAM_DRAW);
    constexpr auto stride = static_cast<GLsizei>(sizeof(Gles2Vertex));
    gles.glVertexAttribPointer(ATTRIBUTE_POSITION, 3, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(offsetof(Gles2Vertex, x)));
    gles.glVertexAttribPointer(ATTRIBUTE_UV, 2, GL_FLOAT, GL_FALSE, stride,
                               reinterpret_cast<const void*>(offsetof(Gles2Vertex, u)));
    gles.glVertexAttribPointer(ATTRIBUTE_COLOUR, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                               reinterpret_cast<const void*>(offsetof(Gles2Vertex, rgba)));
    for (GLuint a : {ATTRIBUTE_POSITION, ATTRIBUTE_UV, ATTRIBUTE_COLOUR})
        gles.glEnableVertexAttribArray(a);
    gles.glUniform2f(program.screen, width_, height_);
    gles.glUniform1f(program.threshold, key_.threshold);
    gles.glUniform1f(program.premultiplied, key_.premultiplied ? 1.0f : 0.0f);
    gles.glUniform1f(program.texturing, key_.texture != 0 ? 1.0f : 0.0f);
    if (key_.texture != 0 && key_.texture != texture_bound_) {
        gles.glBindTexture(GL_TEXTURE_2D, key_.texture);
        texture_bound_ = key_.texture;
    }
    gles.glDrawArrays(key_.mode, 0, static_cast<GLsizei>(vertices_.size()));
    ++draw_calls_;
    vertices_.clear();
}

} // namespace vantrel
