// The polled-input state and the event-hook callback that keeps it.
#include "input/polled_input.h"

#include "input/events.h"
#include "input/hooks.h"
#include "input/system_driver.h"

#include <array>
#include <utility>

namespace vantrel {
namespace {

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

PolledState state;

void poll()
{
    if (state.auto_poll)
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
    state.char_get = state.char_put = 0;
    state.key_down.fill(0);
    state.key_hits.fill(0);
}

void clear_buttons_only()
{
    state.mouse_down.fill(0);
    state.mouse_hits.fill(0);
    state.mouse_z = 0;
}

void on_key_event(const TEvent& e)
{
    if (!valid_key(e.data))
        return;
    if (e.id == EVENT_KEY_DOWN)
        press(&state.key_down[e.data], &state.key_hits[e.data]);
    else
        state.key_down[e.data] = 0;
}

void on_button_event(const TEvent& e)
{
    if (!valid_button(e.data))
        return;
    if (e.id == EVENT_MOUSE_DOWN)
        press(&state.mouse_down[e.data], &state.mouse_hits[e.data]);
    else
        state.mouse_down[e.data] = 0;
}

void on_typed_char(int32_t unit)
{
    if (state.char_put - state.char_get < TYPED_CHAR_QUEUE_SIZE)
        state.chars[state.char_put++ % TYPED_CHAR_QUEUE_SIZE] = unit;
}

void on_activation(int32_t suspended)
{
    // Keys released while another application had the focus would otherwise
    // stay held.
    clear_key_state();
    clear_button_state();
    state.suspended = suspended;
}

Ref<TObject> polled_input_hook(int32_t, const Ref<TObject>& data, const Ref<TObject>&)
{
    const Ref<TEvent> event = ref_cast<TEvent>(data);
    if (!event || (state.source_filter && !same_object(state.source_filter, event->source)))
        return data;
    const TEvent& e = *event;
    switch (e.id) {
    case EVENT_KEY_DOWN:
    case EVENT_KEY_UP: on_key_event(e); break;
    case EVENT_KEY_CHAR: on_typed_char(e.data); break;
    case EVENT_MOUSE_DOWN:
    case EVENT_MOUSE_UP: on_button_event(e); break;
    case EVENT_MOUSE_MOVE:
        state.mouse_x = e.x;
        state.mouse_y = e.y;
        break;
    case EVENT_MOUSE_WHEEL: state.mouse_z += e.data; break;
    case EVENT_APP_SUSPEND: on_activation(1); break;
    case EVENT_APP_RESUME: on_activation(0); break;
    case EVENT_APP_TERMINATE: state.terminate_request = 1; break;
    default: break;
    }
    return data;
}

} // namespace

void start_input_polling(const Ref<TObject>& source)
{
    if (state.enabled)
        return;
    state.source_filter = source;
    clear_key_state();
    clear_button_state();
    attach_hook(EVENT_HOOK, &polled_input_hook, nullptr, 0);
    state.enabled = true;
}

void stop_input_polling()
{
    if (!state.enabled)
        return;
    detach_hook(EVENT_HOOK, &polled_input_hook, nullptr);
    clear_key_state();
    clear_button_state();
    state.source_filter = nullptr;
    state.enabled = false;
}

bool input_polling_enabled() { return state.enabled; }

int32_t take_key_hits(int32_t key)
{
    poll();
    if (!valid_key(key))
        return 0;
    const int32_t hits = state.key_hits[key];
    state.key_hits[key] = 0;
    return hits;
}

int32_t key_held(int32_t key)
{
    poll();
    return valid_key(key) ? state.key_down[key] : 0;
}

int32_t next_typed_char()
{
    poll();
    if (state.char_get == state.char_put)
        return 0;
    return state.chars[state.char_get++ % TYPED_CHAR_QUEUE_SIZE];
}

void clear_key_state()
{
    pump_messages();
    clear_keys_only();
}

int32_t button_hits(int32_t button)
{
    poll();
    if (!valid_button(button))
        return 0;
    const int32_t hits = state.mouse_hits[button];
    state.mouse_hits[button] = 0;
    return hits;
}

int32_t button_held(int32_t button)
{
    poll();
    return valid_button(button) ? state.mouse_down[button] : 0;
}

int32_t pointer_x()
{
    poll();
    return state.mouse_x;
}

int32_t pointer_y()
{
    poll();
    return state.mouse_y;
}

int32_t wheel_pos()
{
    poll();
    return state.mouse_z;
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
    return std::exchange(state.terminate_request, 0);
}

int32_t app_suspended()
{
    poll();
    return state.suspended;
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
