// The public audio operations: each forwards to the sound, the voice or the
// current back end.
#include "audio/audio.h"

namespace vantrel {

Ref<TSoundAsset> load_sound(const Ref<TObject>& location, int32_t flags)
{
    return TSoundAsset::load(location, flags);
}

Ref<TSoundAsset> load_sound(const Text& location, int32_t flags)
{
    return TSoundAsset::load(Ref<TObject>(location.object()), flags);
}

Ref<TVoice> play_sound(const Ref<TSoundAsset>& sound, const Ref<TVoice>& voice)
{
    return sound->play(voice);
}

Ref<TVoice> prepare_sound(const Ref<TSoundAsset>& sound, const Ref<TVoice>& voice)
{
    return sound->cue(voice);
}

Ref<TVoice> alloc_voice() { return current_audio_backend()->alloc_voice(); }
int32_t stop_voice(const Ref<TVoice>& voice) { return voice->stop(); }
int32_t voice_playing(const Ref<TVoice>& voice) { return voice->playing(); }
int32_t set_voice_volume(const Ref<TVoice>& voice, float volume) { return voice->set_volume(volume); }
int32_t set_voice_pan(const Ref<TVoice>& voice, float pan) { return voice->set_pan(pan); }
int32_t set_voice_surround(const Ref<TVoice>& voice, float surround)
{
    return voice->set_surround(surround);
}
int32_t set_voice_rate(const Ref<TVoice>& voice, float rate) { return voice->set_rate(rate); }
int32_t pause_voice(const Ref<TVoice>& voice) { return voice->set_paused(1); }
int32_t resume_voice(const Ref<TVoice>& voice) { return voice->set_paused(0); }

} // namespace vantrel
