// Everything the input layer keeps between calls, in one record: the event
// queue, the hook chains, the polled keys and mouse, the pointer tracking
// and the system driver. The free functions of input/ are thin wrappers over
// it. reset() puts the record back as it is at program load, so a test, or a
// second game in one process, starts as a fresh process would; it must not
// run while a pump or a hook call is under way.
#pragma once

#include "input/events.h"
#include "input/gamepad_state.h"
#include "input/hooks.h"
#include "input/polled_input.h"
#include "input/system_driver.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vantrel {

struct EventQueue {
    std::array<Ref<TEvent>, EVENT_QUEUE_SIZE> slots;
    uint32_t get = 0;
    uint32_t put = 0;
    Ref<TEvent> null_event = make_ref<TEvent>();
    Ref<TEvent> current = null_event;
    bool initialised = false;
    void (*system_poll)() = nullptr;
    void (*system_wait)() = nullptr;
};

struct HookChains {
    std::array<Ref<THook>, HOOK_COUNT> heads;
    int32_t last_id = -1;
};

struct PolledState {
    bool enabled = false;
    Ref<TObject> source_filter;
    bool auto_poll = true;
    int32_t suspended = 0;
    int32_t terminate_request = 0;
    std::array<int32_t, KEY_STATE_SIZE> key_down{};
    std::array<int32_t, KEY_STATE_SIZE> key_hits{};
    std::array<int32_t, BUTTON_STATE_SIZE> mouse_down{};
    std::array<int32_t, BUTTON_STATE_SIZE> mouse_hits{};
    int32_t mouse_x = 0, mouse_y = 0, mouse_z = 0;
    std::array<int32_t, TYPED_CHAR_QUEUE_SIZE> chars{};
    uint32_t char_get = 0, char_put = 0;
};

struct PointerTracking {
    uint32_t window = 0; // the window the pointer is in; 0 for none
    Ref<TObject> source;
    int32_t last_x = 0, last_y = 0;
    bool visible = true;
};

struct SystemDriverState {
    platform::MessagePump* override_pump = nullptr;
    std::vector<TWindowProcedure> procedures;
    int32_t modifiers = 0;
    bool busy = false;
    Ref<TDesktopDriver> driver;
};

class TTimer;

// The running timers, which the system driver's poll asks for their ticks.
// A timer takes itself out when it stops or goes.
struct TimerList {
    std::vector<TTimer*> running;
};

struct InputState {
    EventQueue events;
    HookChains hooks;
    PolledState polled;
    PointerTracking pointer;
    SystemDriverState system;
    TimerList timers;
    GamepadState gamepads;

    void reset();
};

InputState& input_state();

} // namespace vantrel
