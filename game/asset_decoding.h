// Decoding the game's pictures and music loops on a worker thread.
//
// Loading the OpenGL driver is most of the start-up, and it runs on the main
// thread with a core to spare: decoding the three PNGs and making the eight
// loops' sounds there meanwhile takes them off the path to the first frame.
// Images are still made on the main thread, in the game's order, since
// their mask colour and handles follow settings made between the loads.
#pragma once

#include "core/object.h"

namespace vantrel {

class TSoundAsset;

enum class GamePicture { Spark, Wing, Island };

// Starts the worker; after audio_init, whose output the sounds are made
// for. Later calls, and calls after everything was taken, do nothing.
void start_decoding_assets();

// Where a picture is loaded from: the worker's decoded pixmap, given out once
// and waited for when needed, or the embedded asset's name
// ("incbin::spark.png", "incbin::wing2.png", "incbin::island.png") when
// decoding was not started, was taken, or failed. Loading by name then
// reports any error as it always did.
Ref<TObject> picture_source(GamePicture picture);

// Music loop n (1..8), "incbin::sound<n>.wav": the worker's sound, given out
// once, or loaded here, by name, as above.
Ref<TSoundAsset> load_music_loop(int32_t n);

} // namespace vantrel
