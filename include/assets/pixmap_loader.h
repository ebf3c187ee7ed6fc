// The pixmap loader registry and decode_pixmap.
//
// Loaders are kept newest first. decode_pixmap opens a location, offers the
// stream to each loader from the same start position, and returns the first
// pixmap made. A loader answers the null object for data that is not its own;
// a stream error inside a loader counts as that answer, every other error
// reaches the caller.
#pragma once

#include "assets/pixmap.h"
#include "assets/stream.h"
#include "core/object.h"
#include "core/text.h"

namespace vantrel {

class TPixmapDecoder : public TObject {
public:
    // A new pixmap, or the null object when the data is not in this format.
    virtual Ref<TPixmap> load(const Ref<TByteStream>& stream) = 0;
};

// Puts the loader at the head of the list. A loader already in the list is
// left where it is.
void register_pixmap_loader(const Ref<TPixmapDecoder>& loader);

// A location is a text ("incbin::name", a file path) or an open stream, which
// is read from its current position and left open.
Ref<TPixmap> decode_pixmap(const Ref<TObject>& location);
Ref<TPixmap> decode_pixmap(const Text& location);

// Registers the built-in loaders (PNG, then BMP and TGA) once; later calls
// do nothing. JPEG is apart: see assets/jpeg.h.
void pixmap_loaders_init();

} // namespace vantrel
