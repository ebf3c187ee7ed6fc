// Composition of the eight loops. All share the grid and progression of
// score.h; each returns its dry-to-wet processed track before levelling.
#pragma once

#include "music/score.h"

namespace vantrel::assetgen {

// Loop 8: pad, bass, soft electric-piano arpeggio, vibraphone tune, kick and
// shaker. Complete on its own.
Track compose_bed();

// Loops 1 to 7: 1 falling marimba figure, 2 rising flute figure, 3 and 4
// sinking cello and horn lines (right, left), 5 and 6 rising harp and
// celesta figures (right, left), 7 airy high tune with shimmer.
Track compose_layer(int loop);

}  // namespace vantrel::assetgen
