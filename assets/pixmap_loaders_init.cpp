// Start-up registration of the built-in pixmap loaders.
#include "assets/pixmap_loader.h"
#include "assets/png_loader.h"

namespace vantrel {

void pixmap_loaders_init()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    register_pixmap_loader(make_ref<TPngLoader>());
}

} // namespace vantrel
