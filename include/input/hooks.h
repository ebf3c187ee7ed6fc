// Hook chains: priority-ordered callbacks registered under small integer ids.
//
// Running a chain passes a data object from one callback to the next; each
// callback returns the data the rest of the chain sees. The event system
// owns the first id (EVENT_HOOK); the graphics layer takes one for its flip.
#pragma once

#include "core/object.h"

#include <cstdint>

namespace vantrel {

using THookFunction = Ref<TObject> (*)(int32_t id, const Ref<TObject>& data,
                                       const Ref<TObject>& context);

class THook final : public TObject {
public:
    Ref<THook> next;
    int32_t priority = 0;
    THookFunction function = nullptr;
    Ref<TObject> context;

    Ref<TObject> call(int32_t id, const Ref<TObject>& data) const;
};

constexpr int32_t HOOK_COUNT = 256;

// The next free id; the 257th call raises "Too many hook ids".
int32_t new_hook_id();

void attach_hook(int32_t id, THookFunction function, Ref<TObject> context, int32_t priority);

// Unlinks the first registration with this function and context, if any.
void detach_hook(int32_t id, THookFunction function, const Ref<TObject>& context);

// Runs the chain in order; the data returned by the last callback, or the
// given data when the chain is empty.
Ref<TObject> call_hooks(int32_t id, Ref<TObject> data);

} // namespace vantrel
