// Which music loops a new cycle starts, from the bird's motion and height.
//
// A resting bird gets the base loop alone. Otherwise the base loop starts
// with up to three layers, one per coin toss: the body's motion, a sinking
// wing, a rising wing; and the caller plays one more loop, which is loop 7
// for a bird high on the screen. The choice carries over from layer to
// layer, so a layer whose conditions are all false repeats the loop chosen
// before it. Deciding is kept apart from playing so it can be tested alone.
#pragma once

#include <cstdint>

namespace vantrel {

// Loops are numbered 1 to 8, as their assets "sound1.wav" .. "sound8.wav".
struct MusicCycle {
    int32_t started[4] = {};  // loops to start now, in order
    int32_t started_count = 0;
    int32_t returned = 8;     // the loop the caller plays after them
};

// Resets the cycle timer and decides; draws three coin tosses unless the
// bird rests at 439.
MusicCycle plan_music_cycle();

} // namespace vantrel
