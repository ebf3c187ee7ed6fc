// Saving a pixmap as a PNG file, through libpng.
//
// Every pixel format is written without loss: grey as grey, alpha-only as
// white grey with alpha, the three- and four-byte formats as RGB and RGBA.
// Loading the file back with the PNG loader gives the same pixels (an
// alpha-only pixmap comes back as FORMAT_RGBA32).
//
// A file path is written under a temporary name in the same folder, which
// then replaces the target, so the target is either the old file or the
// whole new one. Other locations (open streams, protocol texts) are written
// straight through. False, and nothing left at the target, when the pixmap
// is empty or of format 0, or the location cannot be written.
#pragma once

#include "assets/pixmap.h"
#include "core/text.h"

#include <cstdint>
#include <vector>

namespace vantrel {

bool save_pixmap_png(const Ref<TPixmap>& pixmap, const Ref<TObject>& location);
bool save_pixmap_png(const Ref<TPixmap>& pixmap, const Text& location);

// The PNG file's bytes; empty when the pixmap cannot be written.
std::vector<uint8_t> encode_pixmap_png(const TPixmap& pixmap);

} // namespace vantrel
