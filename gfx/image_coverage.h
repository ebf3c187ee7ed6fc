// The pixels an image draws, in screen coordinates: the placement's affine
// map and its inverse, and whether a pixmap pixel is drawn.
#pragma once

#include "assets/pixmap.h"
#include "gfx/image.h"
#include "gfx/image_collision.h"

namespace vantrel::collision_detail {

// A screen rectangle of whole pixels, [x0, x1) x [y0, y1).
struct PixelBox {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const noexcept { return x0 >= x1 || y0 >= y1; }
};

PixelBox intersect(const PixelBox& a, const PixelBox& b);

// Screen point to pixmap position: u = u0 + sx * du_dx + sy * du_dy, and
// likewise v.
struct TexelMap {
    double u0 = 0, du_dx = 0, du_dy = 0;
    double v0 = 0, dv_dx = 0, dv_dy = 0;
};

class Coverage {
public:
    // False when the placement draws nothing.
    bool place(const TImage& image, const ImagePlacement& at);

    // Every pixel whose centre the picture's quad can reach lies inside.
    const PixelBox& box() const noexcept { return box_; }
    const TexelMap& map() const noexcept { return map_; }

    // Narrows [x0, x1) to the pixels of row py whose centres can land in the
    // picture (with a pixel of margin: drawn_at decides).
    void clip_row(int32_t py, int32_t& x0, int32_t& x1) const noexcept;

    // Whether the screen point lands on a drawn pixel.
    bool drawn_at(double sx, double sy) const noexcept
    {
        return drawn_texel(map_.u0 + sx * map_.du_dx + sy * map_.du_dy,
                           map_.v0 + sx * map_.dv_dx + sy * map_.dv_dy);
    }
    bool drawn_texel(double u, double v) const noexcept
    {
        if (!(u >= 0 && v >= 0 && u < width_ && v < height_))
            return false;
        return drawn(static_cast<int32_t>(u), static_cast<int32_t>(v));
    }
    bool drawn(int32_t x, int32_t y) const noexcept
    {
        const uint8_t* p = pixmap_->pixel_ptr(x, y);
        if (alpha_at_ >= 0)
            return p[alpha_at_] != 0;
        return !keyed_ || p[0] != key_[0] || (bytes_ > 1 && (p[1] != key_[1] || p[2] != key_[2]));
    }

private:
    void set_drawn_rule(const TImage& image);

    const TPixmap* pixmap_ = nullptr;
    double width_ = 0, height_ = 0; // of the pixmap
    int32_t bytes_ = 0;             // per pixel
    int32_t alpha_at_ = -1;         // byte of alpha in a pixel, or -1
    bool keyed_ = false;            // no alpha, and a mask colour to leave out
    uint8_t key_[3] = {};           // in the pixmap's byte order
    TexelMap map_;
    double inverse_du_dx_ = 0, inverse_dv_dx_ = 0;
    PixelBox box_;
};

} // namespace vantrel::collision_detail
