#include "input/gamepad.h"

#include "input/gamepad_state.h"
#include "input/input_state.h"
#include "input/system_driver.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vantrel {
namespace {

GamepadState& state() { return input_state().gamepads; }

bool valid_pad(int32_t pad) { return pad >= 0 && pad < GAMEPAD_SLOTS; }
bool valid_button(int32_t b) { return b >= 0 && b < GAMEPAD_BUTTON_COUNT; }
bool valid_axis(int32_t a) { return a >= 0 && a < GAMEPAD_AXIS_COUNT; }

void poll()
{
    if (input_state().polled.auto_poll)
        pump_messages();
}

void release(PadState& pad)
{
    pad.down.fill(0);
    pad.axes.fill(0);
}

} // namespace

void track_gamepad(const TEvent& e)
{
    if (!valid_pad(e.x))
        return;
    PadState& pad = state().pads[static_cast<size_t>(e.x)];
    switch (e.id) {
    case EVENT_GAMEPAD_CONNECT: pad.connected = true; break;
    case EVENT_GAMEPAD_DISCONNECT:
        pad.connected = false;
        release(pad);
        break;
    case EVENT_GAMEPAD_DOWN:
        if (valid_button(e.data) && !pad.down[static_cast<size_t>(e.data)]) {
            pad.down[static_cast<size_t>(e.data)] = 1;
            ++pad.hits[static_cast<size_t>(e.data)];
        }
        break;
    case EVENT_GAMEPAD_UP:
        if (valid_button(e.data))
            pad.down[static_cast<size_t>(e.data)] = 0;
        break;
    case EVENT_GAMEPAD_AXIS:
        if (valid_axis(e.data))
            pad.axes[static_cast<size_t>(e.data)] = std::clamp(e.y, -32768, 32767);
        break;
    default: break;
    }
}

void release_gamepads()
{
    for (PadState& pad : state().pads)
        release(pad);
}

int32_t gamepad_count()
{
    return static_cast<int32_t>(std::count_if(state().pads.begin(), state().pads.end(),
                                              [](const PadState& p) { return p.connected; }));
}

int32_t gamepad_connected(int32_t pad)
{
    poll();
    return valid_pad(pad) && state().pads[static_cast<size_t>(pad)].connected ? 1 : 0;
}

int32_t gamepad_button_held(int32_t pad, int32_t button)
{
    poll();
    if (!valid_pad(pad) || !valid_button(button))
        return 0;
    return state().pads[static_cast<size_t>(pad)].down[static_cast<size_t>(button)];
}

int32_t take_gamepad_button_hits(int32_t pad, int32_t button)
{
    poll();
    if (!valid_pad(pad) || !valid_button(button))
        return 0;
    return std::exchange(state().pads[static_cast<size_t>(pad)].hits[static_cast<size_t>(button)], 0);
}

float gamepad_axis(int32_t pad, int32_t axis)
{
    poll();
    if (!valid_pad(pad) || !valid_axis(axis))
        return 0;
    const int32_t raw = state().pads[static_cast<size_t>(pad)].axes[static_cast<size_t>(axis)];
    const float value = std::max(static_cast<float>(raw) / 32767.0f, -1.0f);
    const float zone = state().dead_zone;
    const float beyond = std::fabs(value) - zone;
    if (beyond <= 0)
        return 0;
    return std::copysign(std::min(beyond / (1.0f - zone), 1.0f), value);
}

void set_gamepad_dead_zone(float zone)
{
    if (!std::isnan(zone))
        state().dead_zone = std::clamp(zone, 0.0f, 0.95f);
}

float gamepad_dead_zone() { return state().dead_zone; }

} // namespace vantrel
