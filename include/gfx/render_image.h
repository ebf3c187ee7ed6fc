// Offscreen images: drawing into an image instead of the window.
//
// create_render_image makes an image whose texture is itself a drawing
// target. set_render_target(image) sends every drawing call there until
// set_render_target(null) goes back to the window; the image is then drawn
// like any other (draw_image, its handle, scale and rotation), the right way
// up, and grab_render_image reads its pixels as read_back_pixmap reads the
// window's.
//
// While an image is the target, screen_width() and screen_height() give its
// size, the viewport is the whole image and the origin 0, 0; colour, alpha,
// blend mode, clear colour, line width, transform, handle and font carry
// over from the window. Going back to the window puts the whole window
// state back as it was, whatever was changed meanwhile. Switching from one
// image to another keeps the window's state for the way back. flip_frame,
// and any change of graphics, go back to the window first.
//
// An image starts transparent (0, 0, 0, 0); clear_screen fills it with the
// opaque clear colour. Its alpha channel keeps what was drawn, so drawn with
// BLEND_ALPHA it covers the window only where something was drawn into it.
// The texture is the renderers' power-of-two size at least the image's; it
// lives in the context shared by every window, so the image and what was
// drawn into it survive a new open_graphics. Should the renderer lose its
// contexts, the picture is lost with them. set_pixmap, or a lock for
// writing, makes it an ordinary image of that pixmap. Drawing an image into
// itself raises a runtime error, and so does binding its frame for textured
// primitives (its texture holds the picture as OpenGL's rows go, upwards).
// Collision tests read pixmaps, so they see an offscreen image as blank.
#pragma once

#include "assets/pixmap.h"
#include "core/object.h"
#include "gfx/image.h"

#include <cstdint>

namespace vantrel {

// A width x height image to draw into; of flags only IMAGE_FILTERED counts.
// Needs open graphics. Null when it cannot be had: a side below 1, a size
// beyond the renderer's largest texture, a renderer without framebuffer
// objects, a framebuffer the driver calls incomplete; last_graphics_error()
// then says which.
Ref<TImage> create_render_image(int32_t width, int32_t height, int32_t flags = 0);

// Draws into image from now on; null goes back to the window. An image that
// create_render_image did not make raises a runtime error, as does a target
// whose framebuffer turns out incomplete (the target then stays as it was).
// Setting the current target again changes nothing.
void set_render_target(const Ref<TImage>& image);
// The image drawn into, null while drawing into the window.
Ref<TImage> render_target();
// Whether create_render_image made it (and no pixmap has replaced it since).
bool is_render_image(const Ref<TImage>& image);

// The image's pixels in FORMAT_RGBA32, top row first, whatever the target
// is; raises a runtime error for an image that is not an offscreen one.
Ref<TPixmap> grab_render_image(const Ref<TImage>& image);

} // namespace vantrel
