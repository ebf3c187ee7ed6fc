// Start-up registration of the built-in pixmap loaders.
//
// PNG comes first; the stock loaders follow in the order BMP, TGA (JPEG,
// a library of its own, joins by jpeg_loader_init). The list is searched
// newest first, so each of them looks at the data before PNG does: each
// gives the null object for data that is not its own, PNG data included,
// which leaves every PNG picture to the PNG loader.
#include "assets/assets_state.h"
#include "assets/bmp_loader.h"
#include "assets/pixmap_loader.h"
#include "assets/png_loader.h"
#include "assets/tga_loader.h"

namespace vantrel {

void pixmap_loaders_init()
{
    bool& done = assets_state().pixmap_loaders_ready;
    if (done)
        return;
    done = true;
    register_pixmap_loader(make_ref<TPngLoader>());
    register_pixmap_loader(make_ref<TBmpLoader>());
    register_pixmap_loader(make_ref<TTgaLoader>());
}

} // namespace vantrel
