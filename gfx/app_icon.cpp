// The application icon that new windows carry.
#include "gfx/graphics.h"

#include "gfx/gfx_state.h"

namespace vantrel {

void set_app_icon(Ref<TPixmap> picture) { gfx_state().icon = std::move(picture); }
Ref<TPixmap> app_icon() { return gfx_state().icon; }

} // namespace vantrel
