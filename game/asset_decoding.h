// Decoding the game's pictures and music loops on a worker thread.
//
// Loading the OpenGL driver is most of the start-up, and it runs on the main
// thread with a core to spare: decoding the three PNGs and making the eight
// loops' sounds there meanwhile takes them off the path to the first frame.
// Images are still made on the main thread, in the game's order, since
// their handles follow settings made between the loads; the worker also
// masks each picture with the colour the game loads it under, which the
// main thread takes only when the load's mask colour is that one.
#pragma once

#include "core/object.h"

#include <cstdint>

namespace vantrel {

class TSoundAsset;

enum class GamePicture { Spark, Wing, Island };

struct MaskColour {
    int32_t red = 0, green = 0, blue = 0;
    bool operator==(const MaskColour&) const = default;
};

// The mask colour the game loads each picture under (game/pictures.cpp).
MaskColour game_picture_mask(GamePicture picture);

// Starts the worker; after audio_init, whose output the sounds are made
// for. Later calls, and calls after everything was taken, do nothing.
void start_decoding_assets();

// Where a picture is loaded from by a masked load under mask: the worker's
// pixmap, given out once and waited for when needed (already masked when
// mask is the picture's game_picture_mask, so the load keeps it as it is,
// and as decoded otherwise), or the embedded asset's name
// ("incbin::spark.png", "incbin::wing2.png", "incbin::island.png") when
// decoding was not started, was taken, or failed. Loading by name then
// reports any error as it always did. The pictures are waited for alone,
// not with the loops.
Ref<TObject> picture_source(GamePicture picture, const MaskColour& mask);

// Music loop n (1..8), "incbin::sound<n>.wav": the worker's sound, given out
// once, or loaded here, by name, as above.
Ref<TSoundAsset> load_music_loop(int32_t n);

} // namespace vantrel
