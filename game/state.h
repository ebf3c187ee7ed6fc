// The game's process-wide state: the clock readings of the main loop, the
// bird, its slow followers, the wind and the island's placement.
//
// Every part of the game reads these, so they are module variables. Each is
// a name for a field of one record whose member initialisers are the values
// at program load; resetting the record starts a fresh game, which lets
// tests run several games in one process. Every float is a 32-bit float and
// is stored as such after each step.
#pragma once

#include "game/screen.h"

#include <cstdint>

namespace vantrel {

struct GameVars {
    int32_t last_ms = 0;          // clock reading of the previous pass
    int32_t now_ms = 0;           // clock reading of this pass
    int32_t music_elapsed_ms = 0; // towards the next music cycle

    float bird_x = SCREEN_CENTRE_X; // centre line of the bird
    float bird_y = SCREEN_HEIGHT;   // body height, screen y (down is larger)
    float left_wing = SCREEN_HEIGHT; // screen y of the left wing
    float left_count = 0;   // passes the left flap key has been held, 0..35
    float right_wing = SCREEN_HEIGHT;
    float right_count = 0;
    float target_y = 0;     // followers: they step towards what they follow,
    float target_left = 0;  // so the drawn bird moves smoothly; set once the
    float target_right = 0; // window is open (set_followers)
    float left_count_t = 0;
    float right_count_t = 0;
    float fatigue = 0;      // exertion; both wings lift only below 85
    float wind = 0;         // sideways drift, pixels per pass
    float wind_target = 0;  // what the wind eases towards
    float island_x = SCREEN_CENTRE_X; // top-left corner of the island picture
    float island_y = 0;
    float island_scale = 1; // also sets the island's alpha
};

extern GameVars game_vars;

extern int32_t& last_ms;
extern int32_t& now_ms;
extern int32_t& music_elapsed_ms;
extern float& bird_x;
extern float& bird_y;
extern float& left_wing;
extern float& left_count;
extern float& right_wing;
extern float& right_count;
extern float& target_y;
extern float& target_left;
extern float& target_right;
extern float& left_count_t;
extern float& right_count_t;
extern float& fatigue;
extern float& wind;
extern float& wind_target;
extern float& island_x;
extern float& island_y;
extern float& island_scale;

// Points the five followers at what they follow.
void set_followers();

// Puts every variable above back to its value at program load.
void reset_game_state();

} // namespace vantrel
