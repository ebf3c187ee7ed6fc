// Vertices gathered into one buffer and drawn with one call while the state
// they are drawn with stays the same: the primitive kind, the texture, the
// alpha threshold and whether the colour is premultiplied. Any change of
// those, or of state outside the batch (blending, scissor, clear,
// read-back, the buffer swap), flushes first.
#pragma once

#include <GLES2/gl2.h>

#include <cstdint>
#include <vector>

namespace vantrel {

struct Gles2Vertex {
    float x = 0, y = 0, z = 0; // screen pixels
    float u = 0, v = 0;
    uint8_t rgba[4] = {0, 0, 0, 0};
};

// ES lets each implementation snap vertices to its own sub-pixel grid, of
// at least 4 bits, and interpolate from the snapped positions; llvmpipe
// interpolates from the exact ones. So the same triangle is sampled at
// slightly different texture coordinates by each, and a magnified, filtered
// texture shows it. A triangle's vertices are put on the sixteenth-pixel
// grid every implementation has, and its texture coordinates evaluated
// there from the mapping of the triangle as given, so every implementation
// interpolates the same mapping the first renderer does. Shared vertices
// move alike, so no seam opens.
constexpr float SUBPIXELS = 16;
void on_subpixel_grid(Gles2Vertex (&triangle)[3]);

struct Gles2BatchKey {
    GLenum mode = GL_TRIANGLES; // GL_TRIANGLES, GL_LINES or GL_POINTS
    GLuint texture = 0;         // 0: untextured
    float threshold = -1.0f;
    bool premultiplied = false; // for the blend modes that add the source times its alpha
    friend bool operator==(const Gles2BatchKey&, const Gles2BatchKey&) = default;
};

class Gles2Batch {
public:
    // The vertices pushed next are drawn with key.
    void use(const Gles2BatchKey& key)
    {
        if (!(key == key_)) {
            flush();
            key_ = key;
        }
    }
    void push(const Gles2Vertex& vertex) { vertices_.push_back(vertex); }
    // A triangle, put on the sub-pixel grid (on_subpixel_grid).
    void push_triangle(const Gles2Vertex& a, const Gles2Vertex& b, const Gles2Vertex& c);

    // The frame the vertices are placed in.
    void set_screen(int32_t width, int32_t height);
    void flush();
    // Forgets the buffer and texture bound in the current context.
    void context_changed() { texture_bound_ = UINT32_MAX; }
    // Binds again the texture last bound, after texture work in this context.
    void rebind_texture() const;
    // A texture is being deleted: its name can come back for another.
    void forget_texture(GLuint name)
    {
        if (name == texture_bound_)
            texture_bound_ = UINT32_MAX;
    }

    bool empty() const { return vertices_.empty(); }
    // Draw calls made since the counter was last taken.
    int32_t take_draw_calls();

private:
    std::vector<Gles2Vertex> vertices_;
    Gles2BatchKey key_;
    GLuint buffer_ = 0;
    uint32_t texture_bound_ = UINT32_MAX;
    float width_ = 1, height_ = 1;
    int32_t draw_calls_ = 0;
};

} // namespace vantrel
