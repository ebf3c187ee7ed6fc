// Fuzz target: the TGA loader over arbitrary bytes, then the
// pixmap operations of the image layer.
#include "assets/tga_loader.h"
#include "pixmap_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return vantrel::fuzz::fuzz_pixmap_loader<vantrel::TTgaLoader>(data, size, vantrel::TGA_MAX_SIDE);
}
