#include "assets/assets_state.h"

#include <utility>

namespace vantrel {

AssetsState& assets_state()
{
    static AssetsState state;
    return state;
}

void AssetsState::reset()
{
    // The fresh record takes over the registry; the old handlers and loaders
    // are released once this record is consistent again.
    AssetsState old;
    std::swap(registry, old.registry);
    std::swap(*this, old);
}

} // namespace vantrel
