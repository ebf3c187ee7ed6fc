// TImage: frames with their pixmaps and lazily made texture frames.
#include "gfx/image.h"

#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/pixmap_ops.h"
#include "core/error.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"

#include <algorithm>

namespace vantrel {
namespace {

size_t checked_index(const TImage& image, int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= image.pixmaps.size())
        raise_error(u"Image frame index out of range");
    return static_cast<size_t>(index);
}

Ref<TPixmap> pixmap_of(const Ref<TObject>& location)
{
    if (auto pixmap = ref_cast<TPixmap>(location))
        return pixmap;
    return decode_pixmap(location);
}

} // namespace

TImage::~TImage() = default;

Ref<TImageFrame> TImage::frame(int32_t index)
{
    const size_t i = checked_index(*this, index);
    const int32_t seq = graphics_seq();
    if (generations[i] == seq || (frames[i] && frames[i]->is_render_target()))
        return frames[i];
    // Recorded only once the frame exists, so a failed upload is retried.
    frames[i] = current_renderer()->create_frame_from_pixmap(lock(index, 1, 0), flags);
    generations[i] = seq;
    return frames[i];
}

Ref<TPixmap> TImage::lock(int32_t index, int32_t /*read*/, int32_t write)
{
    const size_t i = checked_index(*this, index);
    if (write != 0) {
        generations[i] = 0;
        frames[i].reset();
    }
    if (!pixmaps[i]) {
        // Starts transparent rather than with whatever the memory held.
        auto blank = new_pixmap(width, height, FORMAT_RGBA32, 4);
        std::fill_n(blank->pixels, static_cast<size_t>(blank->capacity), uint8_t{0});
        pixmaps[i] = blank;
    }
    return pixmaps[i];
}

void TImage::set_pixmap(int32_t index, Ref<TPixmap> pixmap)
{
    const size_t i = checked_index(*this, index);
    if ((flags & IMAGE_MASKED) && pixmap && is_pixel_format(pixmap->format) &&
        ALPHA_BITS[pixmap->format] == 0)
        pixmap = apply_colour_key(pixmap, mask_red, mask_green, mask_blue);
    pixmaps[i] = std::move(pixmap);
    generations[i] = 0;
    frames[i].reset();
}

Ref<TImage> TImage::create(int32_t width, int32_t height, int32_t count, int32_t flags,
                           int32_t mask_red, int32_t mask_green, int32_t mask_blue)
{
    if (count < 0)
        raise_error(u"Negative image frame count");
    auto image = make_ref<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->mask_red = mask_red;
    image->mask_green = mask_green;
    image->mask_blue = mask_blue;
    image->pixmaps.resize(static_cast<size_t>(count));
    image->frames.resize(static_cast<size_t>(count));
    image->generations.assign(static_cast<size_t>(count), 0);
    return image;
}

Ref<TImage> TImage::load(const Ref<TObject>& location, int32_t flags, int32_t mask_red,
                         int32_t mask_green, int32_t mask_blue)
{
    auto pixmap = pixmap_of(location);
    if (!pixmap)
        return nullptr;
    auto image = create(pixmap->width, pixmap->height, 1, flags, mask_red, mask_green, mask_blue);
    image->set_pixmap(0, pixmap);
    return image;
}

Ref<TImage> TImage::load_strip(const Ref<TObject>& location, int32_t cell_width,
                               int32_t cell_height, int32_t first, int32_t count, int32_t flags,
                               int32_t mask_red, int32_t mask_green, int32_t mask_blue)
{
    if (cell_width <= 0 || cell_height <= 0 || first < 0 || count <= 0)
        return nullptr;
    auto sheet = pixmap_of(location);
    if (!sheet)
        return nullptr;
    const int32_t across = sheet->width / cell_width;
    const int64_t cells = static_cast<int64_t>(across) * (sheet->height / cell_height);
    if (static_cast<int64_t>(first) + count > cells)
        return nullptr;
    auto image = create(cell_width, cell_height, count, flags, mask_red, mask_green, mask_blue);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t cell = first + i;
        auto view = sheet->window(cell % across * cell_width, cell / across * cell_height,
                                  cell_width, cell_height);
        image->set_pixmap(i, view->copy());
    }
    return image;
}

namespace {

Ref<TImage> finish_loading(Ref<TImage> image)
{
    if (image && get_auto_centre_handle() != 0)
        centre_image_handle(image);
    return image;
}

int32_t effective_flags(int32_t flags)
{
    return flags == -1 ? get_default_image_flags() : flags;
}

} // namespace

Ref<TImage> load_image(const Ref<TObject>& location, int32_t flags)
{
    int32_t r, g, b;
    get_mask_colour(r, g, b);
    return finish_loading(TImage::load(location, effective_flags(flags), r, g, b));
}

Ref<TImage> load_image(const Text& location, int32_t flags)
{
    return load_image(Ref<TObject>(location.object()), flags);
}

Ref<TImage> load_image_strip(const Ref<TObject>& location, int32_t cell_width,
                             int32_t cell_height, int32_t first, int32_t count, int32_t flags)
{
    int32_t r, g, b;
    get_mask_colour(r, g, b);
    return finish_loading(TImage::load_strip(location, cell_width, cell_height, first, count,
                                             effective_flags(flags), r, g, b));
}

} // namespace vantrel
