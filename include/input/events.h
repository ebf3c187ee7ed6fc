// Events: what the window system reports, as records emitted through the
// event hook chain, plus a bounded queue that collects them.
#pragma once

#include "core/object.h"
#include "core/text.h"
#include "input/hooks.h"

#include <cstdint>

namespace vantrel {

constexpr int32_t EVENT_HOOK = 0;

enum : int32_t {
    EVENT_APP_SUSPEND = 0x101,
    EVENT_APP_RESUME = 0x102,
    EVENT_APP_TERMINATE = 0x103,
    EVENT_APP_OPEN_FILE = 0x104,
    EVENT_KEY_DOWN = 0x201,
    EVENT_KEY_UP = 0x202,
    EVENT_KEY_CHAR = 0x203,
    EVENT_KEY_REPEAT = 0x204,
    EVENT_MOUSE_DOWN = 0x401,
    EVENT_MOUSE_UP = 0x402,
    EVENT_MOUSE_MOVE = 0x403,
    EVENT_MOUSE_WHEEL = 0x404,
    EVENT_MOUSE_ENTER = 0x405,
    EVENT_MOUSE_LEAVE = 0x406,
    EVENT_TIMER_TICK = 0x801,
    EVENT_GAMEPAD_CONNECT = 0x1001,
    EVENT_GAMEPAD_DISCONNECT = 0x1002,
    EVENT_GAMEPAD_DOWN = 0x1003,
    EVENT_GAMEPAD_UP = 0x1004,
    EVENT_GAMEPAD_AXIS = 0x1005,
    EVENT_GADGET_ACTION = 0x2001,
    EVENT_GADGET_PAINT = 0x2002,
    EVENT_GADGET_SELECT = 0x2003,
    EVENT_GADGET_MENU = 0x2004,
    EVENT_GADGET_OPEN = 0x2005,
    EVENT_GADGET_CLOSE = 0x2006,
    EVENT_GADGET_DONE = 0x2007,
    EVENT_WINDOW_MOVE = 0x4001,
    EVENT_WINDOW_SIZE = 0x4002,
    EVENT_WINDOW_CLOSE = 0x4003,
    EVENT_WINDOW_ACTIVATE = 0x4004,
    EVENT_WINDOW_ACCEPT = 0x4005,
    EVENT_MENU_ACTION = 0x8001,
};

class TEvent final : public TObject {
public:
    int32_t id = 0;
    Ref<TObject> source;
    int32_t data = 0;
    int32_t mods = 0;
    int32_t x = 0;
    int32_t y = 0;
    Ref<TObject> extra;

    // "KeyDown: data=27, mods=0, x=0, y=0, extra=\"\""
    Text to_string() const override;
};

// The event kind's name, or the empty text for an id outside the table.
Text event_name(int32_t id);

Ref<TEvent> new_event(int32_t id, Ref<TObject> source, int32_t data, int32_t mods, int32_t x,
                      int32_t y, Ref<TObject> extra);

// Runs EVENT_HOOK with the event.
void send_event(const Ref<TEvent>& event);

// Takes EVENT_HOOK and puts the queue on it; runs once.
void events_init();

// The system poll the queue calls when it runs dry (the system driver's pump).
void set_system_poll(void (*poll)());
// The system wait wait_queued_event blocks in (the driver's wait).
void set_system_wait(void (*wait)());

constexpr int32_t EVENT_QUEUE_SIZE = 256;

// With update set, a queued event of the same id and source is brought up to
// date in place instead. A full queue drops the event.
void queue_event(const Ref<TEvent>& event, bool update);

int32_t next_queued_event();
Ref<TEvent> peek_queued_event();
int32_t wait_queued_event();

// The event last taken from the queue (the null event when none).
const Ref<TEvent>& last_taken_event();
Text last_taken_event_text();

} // namespace vantrel
