#include "input/events.h"

#include "input/clock.h"
#include "input/input_state.h"

#include <utility>

namespace vantrel {
namespace {

struct EventName {
    int32_t id;
    const char16_t* name;
};

constexpr EventName names[] = {
    {EVENT_APP_SUSPEND, u"AppSuspend"},     {EVENT_APP_RESUME, u"AppResume"},
    {EVENT_APP_TERMINATE, u"AppTerminate"}, {EVENT_APP_OPEN_FILE, u"AppOpenFile"},
    {EVENT_KEY_DOWN, u"KeyDown"},           {EVENT_KEY_UP, u"KeyUp"},
    {EVENT_KEY_CHAR, u"KeyChar"},           {EVENT_KEY_REPEAT, u"KeyRepeat"},
    {EVENT_MOUSE_DOWN, u"MouseDown"},       {EVENT_MOUSE_UP, u"MouseUp"},
    {EVENT_MOUSE_MOVE, u"MouseMove"},       {EVENT_MOUSE_WHEEL, u"MouseWheel"},
    {EVENT_MOUSE_ENTER, u"MouseEnter"},     {EVENT_MOUSE_LEAVE, u"MouseLeave"},
    {EVENT_GAMEPAD_CONNECT, u"GamepadConnect"},
    {EVENT_GAMEPAD_DISCONNECT, u"GamepadDisconnect"},
    {EVENT_GAMEPAD_DOWN, u"GamepadDown"},
    {EVENT_GAMEPAD_UP, u"GamepadUp"},
    {EVENT_GAMEPAD_AXIS, u"GamepadAxis"},
    {EVENT_TIMER_TICK, u"TimerTick"},       {EVENT_GADGET_ACTION, u"GadgetAction"},
    {EVENT_GADGET_PAINT, u"GadgetPaint"},   {EVENT_GADGET_SELECT, u"GadgetSelect"},
    {EVENT_GADGET_MENU, u"GadgetMenu"},     {EVENT_GADGET_OPEN, u"GadgetOpen"},
    {EVENT_GADGET_CLOSE, u"GadgetClose"},   {EVENT_GADGET_DONE, u"GadgetDone"},
    {EVENT_WINDOW_MOVE, u"WindowMove"},     {EVENT_WINDOW_SIZE, u"WindowSize"},
    {EVENT_WINDOW_CLOSE, u"WindowClose"},   {EVENT_WINDOW_ACTIVATE, u"WindowActivate"},
    {EVENT_WINDOW_ACCEPT, u"WindowAccept"}, {EVENT_MENU_ACTION, u"MenuAction"},
};

EventQueue& queue() { return input_state().events; }

void poll_system()
{
    if (auto poll = queue().system_poll)
        poll();
}

bool updated_in_place(const Ref<TEvent>& event)
{
    EventQueue& q = queue();
    for (uint32_t i = q.get; i != q.put; ++i) {
        TEvent& queued = *q.slots[i % EVENT_QUEUE_SIZE];
        if (queued.id == event->id && queued.source == event->source) {
            queued.data = event->data;
            queued.mods = event->mods;
            queued.x = event->x;
            queued.y = event->y;
            queued.extra = event->extra;
            return true;
        }
    }
    return false;
}

bool wants_update(int32_t id)
{
    return id == EVENT_WINDOW_MOVE || id == EVENT_WINDOW_SIZE || id == EVENT_TIMER_TICK ||
           id == EVENT_GADGET_ACTION;
}

Ref<TObject> post_to_queue(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    auto event = ref_cast<TEvent>(data);
    if (!event)
        return {};
    queue_event(event, wants_update(event->id));
    return event;
}

Text decimal(int32_t value) { return Text::from_int(value); }

} // namespace

Text event_name(int32_t id)
{
    for (const EventName& entry : names)
        if (entry.id == id)
            return Text(entry.name);
    return {};
}

Text TEvent::to_string() const
{
    Text name = event_name(id);
    if (name.empty())
        name = Text(u"Unknown Event, id=") + decimal(id);
    return name + Text(u": data=") + decimal(data) + Text(u", mods=") + decimal(mods) +
           Text(u", x=") + decimal(x) + Text(u", y=") + decimal(y) + Text(u", extra=\"") +
           text_of(extra) + Text(u"\"");
}

Ref<TEvent> new_event(int32_t id, Ref<TObject> source, int32_t data, int32_t mods, int32_t x,
                      int32_t y, Ref<TObject> extra)
{
    auto event = make_ref<TEvent>();
    event->id = id;
    event->source = std::move(source);
    event->data = data;
    event->mods = mods;
    event->x = x;
    event->y = y;
    event->extra = std::move(extra);
    return event;
}

void send_event(const Ref<TEvent>& event)
{
    call_hooks(EVENT_HOOK, event);
}

void events_init()
{
    EventQueue& q = queue();
    if (q.initialised)
        return;
    q.initialised = true;
    new_hook_id(); // EVENT_HOOK, always the first id
    attach_hook(EVENT_HOOK, post_to_queue, {}, -10000);
}

void set_system_poll(void (*poll)()) { queue().system_poll = poll; }

void set_system_wait(void (*wait)()) { queue().system_wait = wait; }

void queue_event(const Ref<TEvent>& event, bool update)
{
    if (!event || (update && updated_in_place(event)))
        return;
    EventQueue& q = queue();
    if (q.put - q.get >= EVENT_QUEUE_SIZE)
        return;
    q.slots[q.put % EVENT_QUEUE_SIZE] = event;
    ++q.put;
}

Ref<TEvent> peek_queued_event()
{
    EventQueue& q = queue();
    if (q.get == q.put)
        poll_system();
    if (q.get == q.put)
        return {};
    return q.slots[q.get % EVENT_QUEUE_SIZE];
}

int32_t next_queued_event()
{
    EventQueue& q = queue();
    if (q.get == q.put)
        poll_system();
    if (q.get == q.put) {
        q.current = q.null_event;
        return 0;
    }
    q.current = std::exchange(q.slots[q.get % EVENT_QUEUE_SIZE], Ref<TEvent>());
    ++q.get;
    return q.current->id;
}

int32_t wait_queued_event()
{
    EventQueue& q = queue();
    for (;;) {
        // A queued event counts even when its id is 0; only an empty queue waits.
        if (q.get == q.put)
            poll_system();
        if (q.get != q.put)
            return next_queued_event();
        if (q.system_wait)
            q.system_wait();
        else
            delay(1);
    }
}

const Ref<TEvent>& last_taken_event() { return queue().current; }

Text last_taken_event_text() { return text_of(queue().current->extra); }

} // namespace vantrel
