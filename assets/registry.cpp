// The asset registry: a process-wide list of embedded blobs, newest first.
//
// Records live in a deque so their addresses stay fixed while the list grows;
// they are never removed, so the pointers find_asset hands out stay valid.
#include "assets/registry.h"

#include "assets/assets_state.h"

namespace vantrel {

namespace {

AssetRegistry& registry() { return assets_state().registry; }

} // namespace

int register_asset(const Text& name, const void* data, int32_t size)
{
    // A record without bytes or with a negative length could never be read
    // safely, so it is refused like a duplicate.
    if (data == nullptr || size < 0)
        return 0;
    if (find_asset(name) != nullptr)
        return 0;
    AssetRegistry& r = registry();
    r.records.push_back(TEmbeddedAsset{r.head, name, static_cast<const uint8_t*>(data), size});
    r.head = &r.records.back();
    return 1;
}

const TEmbeddedAsset* find_asset(const Text& name)
{
    for (const TEmbeddedAsset* a = registry().head; a != nullptr; a = a->next)
        if (a->name == name)
            return a;
    return nullptr;
}

const uint8_t* asset_data(const Text& name)
{
    const TEmbeddedAsset* a = find_asset(name);
    return a ? a->data : nullptr;
}

int32_t asset_size(const Text& name)
{
    const TEmbeddedAsset* a = find_asset(name);
    return a ? a->size : 0;
}

} // namespace vantrel
