// The PNG pixmap loader, over libpng's classic reading interface.
//
// 16-bit samples keep their high byte; palettes, low-depth grey and tRNS
// transparency are expanded to 8-bit channels; no gamma or colour management
// is applied, so pixels equal the file's samples. Grey loads as FORMAT_GRAY8,
// RGB as FORMAT_RGB24, anything with alpha as FORMAT_RGBA32.
//
// Data that is not PNG, or PNG data that is damaged, cut short or larger than
// PNG_MAX_SIDE on a side, gives the null object. An error raised by the stream
// itself while libpng reads is raised again once libpng has been cleaned up.
// One picture is decoded at a time, on the main thread.
#pragma once

#include "assets/pixmap_loader.h"

namespace vantrel {

inline constexpr int32_t PNG_MAX_SIDE = 16384;

class TPngLoader final : public TPixmapDecoder {
public:
    Ref<TPixmap> load(const Ref<TByteStream>& stream) override;
};

// A location is an open stream (read from its current position and left open)
// or a text that opens as one.
Ref<TPixmap> load_png_pixmap(const Ref<TObject>& location);

} // namespace vantrel
