// Framebuffer objects of the desktop renderer, for drawing into textures:
// core since OpenGL 3.0, the same calls in ARB_framebuffer_object, and
// EXT_framebuffer_object's with their own names on older drivers.
//
// Framebuffer objects belong to the context that made them (unlike
// textures, which every context shares): each is made and deleted with its
// context current.
#pragma once

#include <cstdint>
#include <string>

namespace vantrel {

// Whether the current context has framebuffer objects; reason says why not.
// Looks the entry points up the first time it finds them offered.
bool gl_framebuffers_available(std::string& reason);

// A framebuffer drawing into level 0 of texture, left bound; 0, with the
// driver's status in reason, when it is incomplete (nothing is left then,
// and no framebuffer bound).
uint32_t gl_make_texture_framebuffer(uint32_t texture, std::string& reason);
void gl_bind_framebuffer(uint32_t framebuffer); // 0: the window's
void gl_delete_framebuffer(uint32_t framebuffer);

// Why an API (its name) with these limits cannot draw into a width x height
// image in the renderers' power-of-two texture; empty when it can.
std::string render_size_refusal(const char* api, int32_t width, int32_t height,
                                int32_t largest_texture, int32_t most_width, int32_t most_height);

} // namespace vantrel
