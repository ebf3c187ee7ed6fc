// The polled-input state and the event-hook callback that keeps it.
#include "input/polled_input.h"

#include "input/events.h"
#include "input/hooks.h"
#include "input/gamepad_state.h"
#include "input/input_state.h"
#include "input/system_driver.h"

#include <array>
#include <utility>

namespace vantrel {
namespace {

PolledState& polled() { return input_state().polled; }


void poll()
{
    if (polled().auto_poll)
        pump_messages();
}

bool valid_key(int32_t key) { return key >= 1 && key < KEY_STATE_SIZE; }
bool valid_button(int32_t button) { return button >= 1 && button < BUTTON_STATE_SIZE; }

void press(int32_t* down, int32_t* hits)
{
    if (*down == 0) {
        *down = 1;
        ++*hits;
    }
}

void clear_keys_only()
{
    PolledState& s = polled();
    s.char_get = s.char_put = 0;
    s.key_down.fill(0);
    s.key_hits.fill(0);
}

void clear_buttons_only()
{
    PolledState& s = polled();
    s.mouse_down.fill(0);
    s.mouse_hits.fill(0);
    s.mouse_z = 0;
}

void on_key_event(const TEvent& e)
{
    PolledState& s = polled();
    if (!valid_key(e.data))
        return;
    if (e.id == EVENT_KEY_DOWN)
        press(&s.key_down[e.data], &s.key_hits[e.data]);
    else
        s.key_down[e.data] = 0;
}

void on_button_event(const TEvent& e)
{
    PolledState& s = polled();
    if (!valid_button(e.data))
        return;
    if (e.id == EVENT_MOUSE_DOWN)
        press(&s.mouse_down[e.data], &s.mouse_hits[e.data]);
    else
        s.mouse_down[e.data] = 0;
}

void on_typed_char(int32_t unit)
{
    PolledState& s = polled();
    if (s.char_put - s.char_get < TYPED_CHAR_QUEUE_SIZE)
        s.chars[s.char_put++ % TYPED_CHAR_QUEUE_SIZE] = unit;
}

void on_activation(int32_t suspended)
{
    // Keys released while another application had the focus would otherwise
    // stay held.
    clear_key_state();
    clear_button_state();
    release_gamepads();
    polled().suspended = suspended;
}

Ref<TObject> polled_input_hook(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    PolledState& s = polled();
    const Ref<TEvent> event = ref_cast<TEvent>(data);
    if (!event || (s.source_filter && !same_object(s.source_filter, event->source)))
        return data;
    const TEvent& e = *event;
    switch (e.id) {
    case EVENT_KEY_DOWN:
    case EVENT_KEY_UP: on_key_event(e); break;
    case EVENT_KEY_CHAR: on_typed_char(e.data); break;
    case EVENT_MOUSE_DOWN:
    case EVENT_MOUSE_UP: on_button_event(e); break;
    case EVENT_MOUSE_MOVE:
        s.mouse_x = e.x;
        s.mouse_y = e.y;
        break;
    case EVENT_MOUSE_WHEEL: s.mouse_z += e.data; break;
    case EVENT_APP_SUSPEND: on_activation(1); break;
    case EVENT_APP_RESUME: on_activation(0); break;
    case EVENT_APP_TERMINATE: s.terminate_request = 1; break;
    default: track_gamepad(e); break;
    }
    return data;
}

} // namespace

void start_input_polling(const Ref<TObject>& source)
{
    PolledState& s = polled();
    if (s.enabled)
        return;
    s.source_filter = source;
    clear_key_state();
    clear_button_state();
    attach_hook(EVENT_HOOK, &polled_input_hook, nullptr, 0);
    s.enabled = true;
}

void stop_input_polling()
{
    PolledState& s = polled();
    if (!s.enabled)
        return;
    detach_hook(EVENT_HOOK, &polled_input_hook, nullptr);
    clear_key_state();
    clear_button_state();
    s.source_filter = nullptr;
    s.enabled = false;
}

bool input_polling_enabled() { return polled().enabled; }

int32_t take_key_hits(int32_t key)
{
    PolledState& s = polled();
    poll();
    if (!valid_key(key))
        return 0;
    const int32_t hits = s.key_hits[key];
    s.key_hits[key] = 0;
    return hits;
}

int32_t key_held(int32_t key)
{
    poll();
    return valid_key(key) ? polled().key_down[key] : 0;
}

int32_t next_typed_char()
{
    PolledState& s = polled();
    poll();
    if (s.char_get == s.char_put)
        return 0;
    return s.chars[s.char_get++ % TYPED_CHAR_QUEUE_SIZE];
}

void clear_key_state()
{
    pump_messages();
    clear_keys_only();
}

int32_t button_hits(int32_t button)
{
    PolledState& s = polled();
    poll();
    if (!valid_button(button))
        return 0;
    const int32_t hits = s.mouse_hits[button];
    s.mouse_hits[button] = 0;
    return hits;
}

int32_t button_held(int32_t button)
{
    poll();
    return valid_button(button) ? polled().mouse_down[button] : 0;
}

int32_t pointer_x()
{
    poll();
    return polled().mouse_x;
}

int32_t pointer_y()
{
    poll();
    return polled().mouse_y;
}

int32_t wheel_pos()
{
    poll();
    return polled().mouse_z;
}

void clear_button_state()
{
    poll();
    clear_buttons_only();
}

int32_t wait_any_key()
{
    clear_key_state();
    for (;;) {
        wait_messages();
        for (int32_t key = 1; key < KEY_STATE_SIZE; ++key)
            if (take_key_hits(key))
                return key;
    }
}

int32_t wait_typed_char()
{
    clear_key_state();
    for (;;) {
        wait_messages();
        if (const int32_t c = next_typed_char())
            return c;
    }
}

int32_t wait_any_button()
{
    clear_button_state();
    for (;;) {
        wait_messages();
        for (int32_t button = 1; button < BUTTON_STATE_SIZE; ++button)
            if (button_hits(button))
                return button;
    }
}

int32_t app_terminate_requested()
{
    poll();
    return std::exchange(polled().terminate_request, 0);
}

int32_t app_suspended()
{
    poll();
    return polled().suspended;
}

void set_pointer_pos(int32_t x, int32_t y)
{
    if (const Ref<TDesktopDriver> driver = system_driver())
        driver->set_pointer_pos(x, y);
}

void show_pointer()
{
    if (const Ref<TDesktopDriver> driver = system_driver())
        driver->set_mouse_visible(1);
}

void hide_pointer()
{
    if (const Ref<TDesktopDriver> driver = system_driver())
        driver->set_mouse_visible(0);
}

} // namespace vantrel
