// The bird's flight: flap and zoom keys, body and wing heights, sideways
// drift, the followers the drawing uses, fatigue, and the wind.
//
// Each pass the main loop calls read_flight_keys, update_bird and
// update_wind, in that order, after the frame is drawn. All speeds are per
// pass. The key reading is split from what the keys do, so the model can be
// driven without a window.
#pragma once

namespace vantrel {

// Which key groups are held this pass.
struct FlightKeys {
    bool left = false;     // Z or Left arrow
    bool right = false;    // M or Right arrow
    bool zoom_in = false;  // A, K or Up arrow
    bool zoom_out = false; // Down arrow or Space
};

// Asks the polled input for the keys, in the order the groups list them,
// then applies them.
void read_flight_keys();

// Hold counts, the lift of both wings together, and the island's zoom.
void apply_flight_keys(const FlightKeys& keys);

// One step of the flight model.
void update_bird();

// One step of the wind; draws two or three random numbers.
void update_wind();

} // namespace vantrel
