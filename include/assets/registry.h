// The registry of embedded assets: byte blobs built into the program and
// looked up by exact name. Newest registration first; names are unique.
#pragma once

#include "core/text.h"

#include <cstdint>

namespace vantrel {

struct TEmbeddedAsset {
    const TEmbeddedAsset* next;
    Text name;
    const uint8_t* data; // not owned, valid for the whole run
    int32_t size;
};

// 1 when added; 0 when the name is already registered (nothing changes).
int register_asset(const Text& name, const void* data, int32_t size);
const TEmbeddedAsset* find_asset(const Text& name);
const uint8_t* asset_data(const Text& name); // nullptr when not registered
int32_t asset_size(const Text& name);        // 0 when not registered

} // namespace vantrel
