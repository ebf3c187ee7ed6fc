// NullRenderDriver: textured primitives, recorded call by call.
#include "gfx/null/null_render_driver.h"

#include "gfx/null/null_texture_frame.h"

#include <algorithm>

namespace vantrel {

void NullRenderDriver::use_vertex_colours() { log_.add(entry(NullOp::VertexColours)); }

void NullRenderDriver::bind_textured_frame(const Ref<TImageFrame>& frame)
{
    // A frame of another renderer is the null object here, which raises.
    const uint32_t texture = ref_cast<TNullTextureFrame>(frame)->texture;
    if (texture == bound_texture_)
        return;
    bound_texture_ = texture;
    NullCall c = entry(NullOp::BindTexture);
    c.texture = texture;
    log_.add(std::move(c));
}

void NullRenderDriver::begin_textured(TexturedPrimitive primitive)
{
    NullCall c = entry(NullOp::TexturedBegin);
    c.ints[0] = static_cast<int32_t>(primitive);
    c.texture = bound_texture_;
    log_.add(std::move(c));
}

void NullRenderDriver::textured_vertex(const TexturedVertex& vertex)
{
    NullCall c = entry(NullOp::TexturedVertex);
    c.vertices.push_back({vertex.x, vertex.y, vertex.u, vertex.v});
    c.floats[0] = vertex.z;
    c.floats[1] = vertex.nx;
    c.floats[2] = vertex.ny;
    c.floats[3] = vertex.nz;
    std::copy_n(vertex.rgba, 4, c.colour);
    c.texture = bound_texture_;
    log_.add(std::move(c));
}

void NullRenderDriver::end_textured() { log_.add(entry(NullOp::TexturedEnd)); }

} // namespace vantrel
