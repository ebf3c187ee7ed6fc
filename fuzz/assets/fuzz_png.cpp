// Fuzz target: decode_pixmap over a memory stream holding the input, then the
// pixmap operations the image layer applies to a loaded picture. Any error
// that escapes, any sanitizer report or a malformed pixmap is a finding.
#include "pixmap_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vantrel;
    static const bool ready = (streams_init(), pixmap_loaders_init(), true);
    (void)ready;
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return 0;
    auto stream = create_memory_stream(data, static_cast<int32_t>(size), 1, 0);
    return fuzz::check_pixmap(decode_pixmap(stream), 16384);
}
