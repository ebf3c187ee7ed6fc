// Reading the flight keys from the polled input. Each query pumps the
// window system, so a later key of a group is asked only when the earlier
// ones are not held.
#include "game/flight.h"
#include "game/pad_flight.h"

#include "input/keycodes.h"
#include "input/polled_input.h"

namespace vantrel {

namespace {

constexpr int32_t KEY_K = 75;
constexpr int32_t KEY_M = 77;
constexpr int32_t KEY_Z = 90;

} // namespace

void read_flight_keys()
{
    FlightKeys keys;
    keys.left = key_held(KEY_Z) || key_held(KEY_LEFT);
    keys.right = key_held(KEY_M) || key_held(KEY_RIGHT);
    keys.zoom_in = key_held(KEY_A) || key_held(KEY_K) || key_held(KEY_UP);
    keys.zoom_out = key_held(KEY_DOWN) || key_held(KEY_SPACE);
    add_pad_flight(keys);
    apply_flight_keys(keys);
}

} // namespace vantrel
