// The application icon that new windows carry.
#include "gfx/graphics.h"

namespace vantrel {

namespace {

Ref<TPixmap> icon;

} // namespace

void set_app_icon(Ref<TPixmap> picture) { icon = std::move(picture); }
Ref<TPixmap> app_icon() { return icon; }

} // namespace vantrel
