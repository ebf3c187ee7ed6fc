// The eight music loops as finished 16-bit stereo samples at 22050 Hz.
#pragma once

#include "common/wav_file.h"

#include <string>

namespace vantrel::assetgen {

// Samples of loop number (1 to 8): composed, processed, levelled and faded.
StereoPcm render_music_loop(int number);

// The INAM title written into the loop's file.
std::string music_loop_title(int number);

// Peak each loop is levelled to. Five copies of the bed, or the bed with four
// copies of one layer (both happen when the scheduler's choice repeats),
// still sum inside 16 bits.
double music_loop_peak(int number);

}  // namespace vantrel::assetgen
