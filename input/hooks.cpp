#include "input/hooks.h"

#include "core/error.h"
#include "input/events.h"
#include "input/input_state.h"


namespace vantrel {
namespace {

HookChains& chains() { return input_state().hooks; }

Ref<THook>& head(int32_t id)
{
    if (id < 0 || id >= HOOK_COUNT)
        raise_error(u"Invalid hook id");
    return chains().heads[static_cast<size_t>(id)];
}

} // namespace

Ref<TObject> THook::call(int32_t id, const Ref<TObject>& data) const
{
    if (!function)
        raise_error(u"Attempt to call uninitialized function pointer");
    return function(id, data, context);
}

int32_t new_hook_id()
{
    // The event system must own id 0 whoever asks first.
    events_init();
    HookChains& c = chains();
    if (c.last_id + 1 >= HOOK_COUNT)
        raise_error(u"Too many hook ids");
    return ++c.last_id;
}

void attach_hook(int32_t id, THookFunction function, Ref<TObject> context, int32_t priority)
{
    auto hook = make_ref<THook>();
    hook->priority = priority;
    hook->function = function;
    hook->context = std::move(context);

    Ref<THook>& first = head(id);
    Ref<THook> prev;
    Ref<THook> at = first;
    while (at && at->priority >= priority) {
        prev = at;
        at = at->next;
    }
    hook->next = at;
    (prev ? prev->next : first) = hook;
}

void detach_hook(int32_t id, THookFunction function, const Ref<TObject>& context)
{
    Ref<THook>& first = head(id);
    Ref<THook> prev;
    for (Ref<THook> at = first; at; prev = at, at = at->next) {
        if (at->function == function && at->context == context) {
            (prev ? prev->next : first) = at->next;
            return;
        }
    }
}

Ref<TObject> call_hooks(int32_t id, Ref<TObject> data)
{
    for (Ref<THook> at = head(id); at; at = at->next)
        data = at->call(id, data);
    return data;
}

} // namespace vantrel
