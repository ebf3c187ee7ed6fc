// TPixmap: a pixel buffer in main memory (width, height, row pitch, format).
//
// A pixmap either owns its memory (capacity >= 0: one 16-byte aligned block of
// capacity bytes, not cleared) or is a view over memory owned elsewhere
// (capacity -1). Views from wrap_pixels point at the caller's memory, which
// must outlive them; views from window() keep their parent pixmap alive.
// Positions are not range-checked: callers keep to the pixmap's bounds.
#pragma once

#include "assets/pixel_format.h"
#include "core/object.h"

#include <cstdint>
#include <memory>
#include <new>

namespace vantrel {

class TPixmap final : public TObject {
public:
    uint8_t* pixels = nullptr; // first byte of row 0
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;     // bytes from one row to the next
    int32_t format = 0;    // FORMAT_* code
    int32_t capacity = -1; // owned bytes, or -1 for a view

    uint8_t* pixel_ptr(int32_t x, int32_t y) const noexcept
    {
        return pixels + static_cast<ptrdiff_t>(y) * pitch +
               static_cast<ptrdiff_t>(x) * pixel_bytes(format);
    }

    // A view of the sub-rectangle sharing this pixmap's memory and pitch.
    Ref<TPixmap> window(int32_t x, int32_t y, int32_t w, int32_t h) const;
    // A new owned pixmap (align 4) with the same size, format and pixels.
    Ref<TPixmap> copy() const;
    // Converts every row of source into this pixmap at (x, y); no clipping.
    void paste(const Ref<TPixmap>& source, int32_t x, int32_t y);
    // A new owned pixmap (align 4) in the given format.
    Ref<TPixmap> convert(int32_t new_format) const;
    uint32_t get_pixel(int32_t x, int32_t y) const noexcept;
    void put_pixel(int32_t x, int32_t y, uint32_t argb) noexcept;

    // Pitch is width x bytes-per-pixel raised to a multiple of align. Raises a
    // runtime error for negative sizes, an unknown format, or a block larger
    // than 2 GiB.
    static Ref<TPixmap> new_pixmap(int32_t w, int32_t h, int32_t format, int32_t align);
    static Ref<TPixmap> wrap_pixels(void* pixels, int32_t w, int32_t h, int32_t pitch,
                                    int32_t format);

private:
    // Blocks come from the aligned operator new, the one aligned allocator
    // every C++ runtime has (Windows' C library has no aligned_alloc).
    static constexpr std::align_val_t BLOCK_ALIGN{16};
    struct FreeBlock {
        void operator()(uint8_t* p) const noexcept { ::operator delete(p, BLOCK_ALIGN); }
    };
    std::unique_ptr<uint8_t[], FreeBlock> owned_;
    Ref<const TPixmap> parent_; // the pixmap a window looks into
};

inline Ref<TPixmap> new_pixmap(int32_t w, int32_t h, int32_t format, int32_t align)
{
    return TPixmap::new_pixmap(w, h, format, align);
}

inline Ref<TPixmap> wrap_pixels(void* pixels, int32_t w, int32_t h, int32_t pitch,
                                int32_t format)
{
    return TPixmap::wrap_pixels(pixels, w, h, pitch, format);
}

} // namespace vantrel
