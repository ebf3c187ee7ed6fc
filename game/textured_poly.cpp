// The textured-polygon facility over the current renderer's textured
// primitives.
#include "game/textured_poly.h"

#include "gfx/graphics2d.h"
#include "gfx/image.h"
#include "gfx/render_driver.h"

#include <bit>

namespace vantrel {

namespace {

// Kept on purpose: the facility asks whether the current renderer is the
// "DirectX7" one, which never exists here, so the answer is always no and
// vertex colours always drive the material colour (with no lighting it
// changes nothing).
bool renderer_is_directx7 = false;
Ref<TImageFrame> selected_frame; // the frame whose texture is bound
bool primitive_open = false;     // inside begin_textured

void open_primitive(int32_t mode)
{
    current_renderer()->begin_textured(mode == TEXTURED_POLY_POLYGON
                                           ? TexturedPrimitive::Polygon
                                           : TexturedPrimitive::TriangleStrip);
    primitive_open = true;
}

// Only an open primitive is ended: an end without a begin is a renderer error.
void close_primitive()
{
    if (primitive_open)
        current_renderer()->end_textured();
    primitive_open = false;
}

TexturedVertex unpack_vertex(const float* v)
{
    const uint32_t c = vertex_colour_bits(v[6]);
    return TexturedVertex{.x = v[0], .y = v[1], .z = v[2],
                          .nx = v[3], .ny = v[4], .nz = v[5],
                          .rgba = {static_cast<uint8_t>((c >> 16) & 255),
                                   static_cast<uint8_t>((c >> 8) & 255),
                                   static_cast<uint8_t>(c & 255), static_cast<uint8_t>(c >> 24)},
                          .u = v[7], .v = v[8]};
}

} // namespace

float pack_vertex_colour(int32_t red, int32_t green, int32_t blue, int32_t alpha)
{
    const uint32_t bits = (static_cast<uint32_t>(alpha & 255) << 24) |
                          (static_cast<uint32_t>(red & 255) << 16) |
                          (static_cast<uint32_t>(green & 255) << 8) |
                          static_cast<uint32_t>(blue & 255);
    return std::bit_cast<float>(bits);
}

uint32_t vertex_colour_bits(float slot)
{
    return std::bit_cast<uint32_t>(slot);
}

void textured_poly_init()
{
    // Kept on purpose: a test for a renderer this system never has (above).
    renderer_is_directx7 = current_renderer()->to_string() == Text(u"DirectX7");
    if (!renderer_is_directx7)
        current_renderer()->use_vertex_colours(); // no lighting, so no visible effect
}

void textured_poly_begin()
{
    selected_frame.reset();
}

// A primitive is opened whenever none is open, whatever close says, so
// that vertices never go outside a primitive and primitives never nest.
void textured_poly_select(const Ref<TImage>& image, int32_t frame, int32_t mode,
                          int32_t /*close*/)
{
    Ref<TImageFrame> wanted = image->frame(frame);
    if (same_object(wanted, selected_frame)) {
        if (!primitive_open) // a draw with close 1 ended the last one
            open_primitive(mode);
        return;
    }
    close_primitive();
    selected_frame = wanted;
    current_renderer()->bind_textured_frame(wanted);
    open_primitive(mode);
}

int32_t textured_poly_draw(const Ref<TImage>& image, int32_t frame,
                           std::span<const float> vertices, int32_t mode, int32_t close)
{
    const size_t n = vertices.size();
    // Kept on purpose: the size test counts floats, not 9-float vertices, so
    // fewer than 6 or an odd count is ignored while a ragged even tail is
    // accepted and its partial vertex left out below.
    if (n < 6 || n % 2 != 0)
        return 0;
    textured_poly_select(image, frame, mode, close);
    const Ref<TRenderDriver> renderer = current_renderer();
    for (size_t at = 0; at + TEXTURED_POLY_FLOATS_PER_VERTEX <= n;
         at += TEXTURED_POLY_FLOATS_PER_VERTEX)
        renderer->textured_vertex(unpack_vertex(&vertices[at]));
    if (close == 1)
        close_primitive();
    return 0;
}

void textured_poly_end()
{
    selected_frame.reset();
    close_primitive();
}

} // namespace vantrel
