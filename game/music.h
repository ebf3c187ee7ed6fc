// The adaptive music: eight loops of just under 16 seconds, a new cycle of
// them every 16 seconds, chosen by the bird's motion (music_choice.h).
#pragma once

#include "core/object.h"

namespace vantrel {

class TSoundAsset;

// Loop n (1..8) is "incbin::sound<n>.wav".
extern Ref<TSoundAsset> music_loops[8];

// Loads the eight loops, in order; once, before the first pass.
void load_music_loops();

// Starts a new cycle's base and layer loops and returns the loop the caller
// must start too. Sets the cycle timer back to 0.
Ref<TSoundAsset> pick_music_loop();

} // namespace vantrel
