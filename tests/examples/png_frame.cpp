#include "png_frame.h"

#include "assets/pixmap.h"
#include "assets/pixmap_loader.h"
#include "assets/stream.h"
#include "core/text.h"

namespace vantrel::test {

Frame read_png(const std::string& path)
{
    streams_init();
    pixmap_loaders_init();
    Ref<TPixmap> p = decode_pixmap(Text::from_bytes(path));
    if (!p)
        return {};
    p = p->convert(FORMAT_RGBA32);
    Frame frame{p->width, p->height, {}};
    for (int32_t y = 0; y < p->height; ++y)
        frame.rgba.append(reinterpret_cast<const char*>(p->pixel_ptr(0, y)),
                          static_cast<size_t>(p->width) * 4);
    return frame;
}

} // namespace vantrel::test
