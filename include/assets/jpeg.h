// The JPEG pixmap loader. It is a library of its own, vantrel_jpeg
// (Vantrel::jpeg in the CMake package, vantrel-jpeg for pkg-config), so that
// only the programs that read JPEG files need libjpeg.
#pragma once

namespace vantrel {

// Adds the JPEG loader to those decode_pixmap and load_image ask; later
// calls do nothing. It answers only for JPEG data, so it may be called
// before or after pixmap_loaders_init.
void jpeg_loader_init();

} // namespace vantrel
