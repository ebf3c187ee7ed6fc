#include "assets/assets_state.h"
#include "assets/jpeg.h"
#include "assets/jpeg/jpeg_loader.h"

namespace vantrel {

void jpeg_loader_init()
{
    auto& loaders = assets_state().pixmap_loaders;
    // The list itself says whether this ran: a reset of the assets layer
    // empties it, and the loader is added anew after.
    const bool listed = loaders.first_answer(
        [](const Ref<TPixmapDecoder>& loader) { return dynamic_cast<TJpegLoader*>(loader.get()) != nullptr; });
    if (!listed)
        register_pixmap_loader(make_ref<TJpegLoader>());
}

} // namespace vantrel
