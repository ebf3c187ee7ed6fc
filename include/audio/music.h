// Streamed music: a sound decoded while it plays, for music too long to hold
// decoded in memory. Everything here runs on the main thread.
//
// open_music reads and checks the file's header and gives a TSoundAsset that
// plays like a loaded one: play_sound, prepare_sound and every voice call
// (volume, pan, surround, rate, pause, stop, voice_playing) work the same.
// Each play decodes the file afresh on a decoder thread of its own, into a
// short ring of decoded chunks (about 0.75 s at 44.1 kHz), so memory does not
// grow with the length of the music. A decoder that falls behind leaves a
// gap of silence and the music goes on where it stopped; a file that is cut
// short or goes away while it plays ends the sound as if it had finished.
// Looping plays the file again from its first frame without a seam.
#pragma once

#include "audio/sound_asset.h"
#include "core/object.h"
#include "core/text.h"

#include <cstdint>

namespace vantrel {

// Opens WAV (the formats load_sample_buffer takes) or, where the build has
// it, Ogg Vorbis, from a file path, an "incbin::" asset or an open stream.
// An open stream is read from where it stands, and is left there; the
// decoder reads it from then on, so leave it alone while its music plays. The null object when the location does not open, or is
// not a whole WAV or Ogg Vorbis file with at least one frame. Any non-zero
// flags make the music loop. Without an audio output the sound is silent.
Ref<TSoundAsset> open_music(const Ref<TObject>& location, int32_t flags);
Ref<TSoundAsset> open_music(const Text& location, int32_t flags);

// For a host without threads (the output opened with audio_init_with and
// `threaded` false): decodes what the playing music needs next. pull_audio
// calls it; with a decoder thread it does nothing.
void pump_music();

} // namespace vantrel
