// The audio interface the game calls: load sounds, play them on voices, and
// steer the voices. Everything here runs on the main thread.
//
// Volumes, pans and rates are floats: volume 1.0 is unity, pan -1.0 full left
// to 1.0 full right, rate 1.0 the sound's own speed; a negative surround
// inverts the right channel.
#pragma once

#include "audio/audio_system.h"
#include "audio/sound_asset.h"

namespace vantrel {

// The null object when the location does not open or decode. Any non-zero
// flags make the sound loop. Where the mixer is pulled on the caller's
// thread (audio_init_with without a thread, as in a browser), an Ogg Vorbis
// file given by name or path is decoded as it plays, a little ahead of the
// mixer, rather than whole here: the same frames, the same length; damage
// that only the decoding finds makes it silent from there on.
Ref<TSoundAsset> load_sound(const Ref<TObject>& location, int32_t flags);
Ref<TSoundAsset> load_sound(const Text& location, int32_t flags);

// Starts the sound on `voice`, or on a fresh voice when `voice` is null, and
// returns the voice it plays on (the null object when it plays on none).
Ref<TVoice> play_sound(const Ref<TSoundAsset>& sound, const Ref<TVoice>& voice);
// Like play_sound, but paused until resume_voice.
Ref<TVoice> prepare_sound(const Ref<TSoundAsset>& sound, const Ref<TVoice>& voice);

Ref<TVoice> alloc_voice();
int32_t stop_voice(const Ref<TVoice>& voice);
int32_t voice_playing(const Ref<TVoice>& voice);
int32_t set_voice_volume(const Ref<TVoice>& voice, float volume);
int32_t set_voice_pan(const Ref<TVoice>& voice, float pan);
int32_t set_voice_surround(const Ref<TVoice>& voice, float surround);
int32_t set_voice_rate(const Ref<TVoice>& voice, float rate);
int32_t pause_voice(const Ref<TVoice>& voice);
int32_t resume_voice(const Ref<TVoice>& voice);

} // namespace vantrel
