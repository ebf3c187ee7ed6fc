// Images: drawable pictures of one or more frames.
//
// Every frame keeps its pixmap in main memory and gets a texture frame from
// the current renderer the first time it is drawn under a graphics
// generation (graphics_seq). After a new open_graphics the next draw makes the
// texture again from the pixmap, so images outlive any window.
// Also holds the process-wide loading settings: mask colour, automatic
// centred handle and automatic image flags.
#pragma once

#include "core/object.h"
#include "core/text.h"

#include <cstdint>
#include <vector>

namespace vantrel {

class TPixmap;

constexpr int32_t IMAGE_MASKED = 1;    // colour-key pixmaps without alpha bits
constexpr int32_t IMAGE_FILTERED = 2;  // linear filtering, else nearest
constexpr int32_t IMAGE_MIPMAPPED = 4; // full mipmap chain

// A frame as the renderer keeps it (a texture for the OpenGL renderer).
class TImageFrame : public TObject {
public:
    // Draws the picture over the local rectangle (x0, y0)-(x1, y1), turned by
    // the renderer's matrix and moved by (tx, ty).
    virtual void draw(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    // An offscreen image's frame (gfx/render_image.h): its texture is the
    // picture, so it is kept across graphics generations, not remade.
    virtual bool is_render_target() const { return false; }
};

class TImage final : public TObject {
public:
    int32_t width = 0;
    int32_t height = 0;
    int32_t flags = 0;
    int32_t mask_red = 0, mask_green = 0, mask_blue = 0;
    float handle_x = 0, handle_y = 0;
    std::vector<Ref<TPixmap>> pixmaps;
    std::vector<Ref<TImageFrame>> frames;
    std::vector<int32_t> generations; // graphics_seq of each frame; 0 = none

    ~TImage() override; // out of line: TPixmap is incomplete here

    // The renderer's frame for index, made anew when the graphics changed.
    Ref<TImageFrame> frame(int32_t index);
    // The frame's pixmap (made as blank RGBA when absent); write drops the
    // texture so the next draw uploads the changes.
    Ref<TPixmap> lock(int32_t index, int32_t read, int32_t write);
    void set_pixmap(int32_t index, Ref<TPixmap> pixmap);

    static Ref<TImage> create(int32_t width, int32_t height, int32_t count, int32_t flags,
                              int32_t mask_red, int32_t mask_green, int32_t mask_blue);
    // location: a TPixmap, or anything open_stream accepts.
    static Ref<TImage> load(const Ref<TObject>& location, int32_t flags,
                            int32_t mask_red, int32_t mask_green, int32_t mask_blue);
    static Ref<TImage> load_strip(const Ref<TObject>& location, int32_t cell_width,
                                  int32_t cell_height, int32_t first, int32_t count,
                                  int32_t flags, int32_t mask_red, int32_t mask_green,
                                  int32_t mask_blue);
};

// flags -1 takes the automatic image flags.
Ref<TImage> load_image(const Ref<TObject>& location, int32_t flags);
Ref<TImage> load_image(const Text& location, int32_t flags);
Ref<TImage> load_image_strip(const Ref<TObject>& location, int32_t cell_width,
                             int32_t cell_height, int32_t first, int32_t count, int32_t flags);

void set_mask_colour(int32_t red, int32_t green, int32_t blue);
void get_mask_colour(int32_t& red, int32_t& green, int32_t& blue);
void set_auto_centre_handle(int32_t on);
int32_t get_auto_centre_handle();
void set_default_image_flags(int32_t flags); // -1 leaves them unchanged
int32_t get_default_image_flags();

void set_image_handle(const Ref<TImage>& image, float x, float y);
void centre_image_handle(const Ref<TImage>& image);
int32_t image_width(const Ref<TImage>& image);
int32_t image_height(const Ref<TImage>& image);

} // namespace vantrel
