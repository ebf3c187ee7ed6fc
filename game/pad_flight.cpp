// Flying with a game controller. Asked only while a pad is connected, so
// without one the game polls exactly as it always did.
#include "game/pad_flight.h"

#include "input/gamepad.h"

namespace vantrel {
namespace {

constexpr float PUSHED = 0.5f; // share of a trigger's or stick's travel

bool wing(int32_t pad, int32_t shoulder, int32_t trigger)
{
    return gamepad_button_held(pad, shoulder) != 0 || gamepad_axis(pad, trigger) > PUSHED;
}

} // namespace

void add_pad_flight(FlightKeys& keys)
{
    if (gamepad_count() == 0)
        return;
    for (int32_t pad = 0; pad < GAMEPAD_SLOTS; ++pad) {
        if (!gamepad_connected(pad))
            continue;
        keys.left = keys.left || wing(pad, GAMEPAD_LEFT_SHOULDER, GAMEPAD_LEFT_TRIGGER);
        keys.right = keys.right || wing(pad, GAMEPAD_RIGHT_SHOULDER, GAMEPAD_RIGHT_TRIGGER);
        const float stick = gamepad_axis(pad, GAMEPAD_LEFT_Y);
        keys.zoom_in = keys.zoom_in || gamepad_button_held(pad, GAMEPAD_DPAD_UP) != 0 ||
                       stick < -PUSHED;
        keys.zoom_out = keys.zoom_out || gamepad_button_held(pad, GAMEPAD_DPAD_DOWN) != 0 ||
                        stick > PUSHED;
    }
}

bool pad_quit_hit()
{
    if (gamepad_count() == 0)
        return false;
    bool hit = false;
    for (int32_t pad = 0; pad < GAMEPAD_SLOTS; ++pad)
        hit = take_gamepad_button_hits(pad, GAMEPAD_BACK) != 0 || hit;
    return hit;
}

} // namespace vantrel
