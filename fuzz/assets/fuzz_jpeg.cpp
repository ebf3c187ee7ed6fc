// Fuzz target: the JPEG loader (libjpeg) over arbitrary bytes, then the
// pixmap operations of the image layer.
#include "assets/jpeg/jpeg_loader.h"
#include "pixmap_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return vantrel::fuzz::fuzz_pixmap_loader<vantrel::TJpegLoader>(data, size, vantrel::JPEG_MAX_SIDE);
}
