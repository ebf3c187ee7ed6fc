// The null renderer's record of what it was asked to draw.
//
// One entry per renderer call that reaches the screen or its state: state
// changes as given (with the colour bytes they put in effect), shapes as the
// primitive and screen vertices any renderer would send (gfx/renderer_rules.h),
// textures made, bound and deleted, binds and flips, and textured primitives
// vertex by vertex. Tests read it the way
// they would read a frame.
#pragma once

#include "gfx/renderer_rules.h"

#include <cstdint>
#include <vector>

namespace vantrel {

enum class NullOp : int32_t {
    Bind,           // ints: width, height of the graphics made current; 0, 0 detaches
    Flip,           // ints[0]: sync
    Submit,
    SetBlend,       // ints[0]: mode
    SetAlpha,       // floats[0]: alpha as given
    SetColour,      // ints: red, green, blue as given
    SetClearColour, // ints: red, green, blue as given; colour: the clear colour's bytes
    SetViewport,    // ints: x, y, width, height
    SetMatrix,      // floats: ix, iy, jx, jy
    SetLineWidth,   // floats[0]
    Clear,          // colour: the clear colour's bytes
    Shape,          // primitive, vertices, colour; texture 0 when untextured
    CreateTexture,  // texture; ints: width, height, flags
    DeleteTexture,  // texture
    BindTexture,    // texture: the bound texture changed
    Blit,           // ints: x, y, width, height
    ReadBack,       // ints: x, y, width, height
    VertexColours,  // vertex colours set the material colour from now on
    TexturedBegin,  // ints[0]: TexturedPrimitive; texture: the bound texture
    TexturedVertex, // vertices[0]: x, y, u, v; floats: z, nx, ny, nz; colour: the vertex's
    TexturedEnd,
    RenderTarget,   // texture: the offscreen image's, 0 for the window; ints: its width, height
};

struct NullVertex {
    float x = 0, y = 0; // screen position
    float u = 0, v = 0; // texture coordinates of textured shapes
};

struct NullCall {
    NullOp op = NullOp::Clear;
    Primitive primitive = Primitive::Points;
    std::vector<NullVertex> vertices;
    int32_t ints[4] = {0, 0, 0, 0};
    float floats[4] = {0, 0, 0, 0};
    uint8_t colour[4] = {0, 0, 0, 0}; // RGBA bytes in effect
    uint32_t texture = 0;
};

class NullDrawLog {
public:
    // Off, calls are not kept (a long run does not grow the log).
    bool recording = true;

    void add(NullCall call)
    {
        if (recording)
            calls_.push_back(std::move(call));
    }
    void clear() { calls_.clear(); }
    const std::vector<NullCall>& calls() const { return calls_; }

    int count(NullOp op) const;
    // The Shape entries, in order.
    std::vector<NullCall> shapes() const;

private:
    std::vector<NullCall> calls_;
};

} // namespace vantrel
