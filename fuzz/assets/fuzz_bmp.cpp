// Fuzz target: the BMP loader over arbitrary bytes, then the
// pixmap operations of the image layer.
#include "assets/bmp_loader.h"
#include "pixmap_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return vantrel::fuzz::fuzz_pixmap_loader<vantrel::TBmpLoader>(data, size, vantrel::BMP_MAX_SIDE);
}
