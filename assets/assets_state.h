// Everything the assets layer keeps between calls, in one record: the
// embedded-asset registry, the stream protocol handlers and the pixmap
// loaders. The free functions of assets/ are thin wrappers over it.
//
// reset() forgets the handlers and loaders, so their start-up registration
// runs again. The embedded assets stay: they are part of the program like
// its code, their registration runs once, and callers keep the records
// find_asset hands out.
#pragma once

#include "assets/pixmap_loader.h"
#include "assets/registry.h"
#include "assets/stream_protocol.h"
#include "core/newest_first.h"

#include <deque>

namespace vantrel {

struct AssetRegistry {
    std::deque<TEmbeddedAsset> records; // addresses stay fixed as it grows
    const TEmbeddedAsset* head = nullptr;
};

struct AssetsState {
    AssetRegistry registry;
    TProtocolHandler::List protocol_handlers;
    bool streams_ready = false;
    NewestFirst<TPixmapDecoder> pixmap_loaders;
    bool pixmap_loaders_ready = false;

    void reset();
};

AssetsState& assets_state();

} // namespace vantrel
