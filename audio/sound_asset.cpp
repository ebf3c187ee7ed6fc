// The silent back end and loading a sound.
#include "audio/sound_asset.h"

#include "audio/audio_state.h"
#include "audio/deferred_loader.h"
#include "audio/mixer_backend.h"
#include "audio/sample_loader.h"

namespace vantrel {
namespace {

Ref<TAudioBackend>& backend_slot() { return audio_state().backend; }

} // namespace

Ref<TVoice> TSoundAsset::play(const Ref<TVoice>&) { return make_ref<TVoice>(); }
Ref<TVoice> TSoundAsset::cue(const Ref<TVoice>&) { return make_ref<TVoice>(); }

Ref<TSoundAsset> TSoundAsset::load(const Ref<TObject>& location, int32_t flags)
{
    Ref<TSampleBuffer> buffer = ref_cast<TSampleBuffer>(location);
    const Ref<TMixerBackend> mixer = ref_cast<TMixerBackend>(current_audio_backend());
    if (!buffer && mixer && mixer->decodes_as_it_plays()) {
        LoadedOrDeferred loaded = load_or_defer(location);
        if (loaded.reader) {
            if (Ref<TSoundAsset> sound = mixer->create_deferred_sound(std::move(loaded.reader), flags))
                return sound;
            loaded.buffer = load_sample_buffer(location);
        }
        buffer = std::move(loaded.buffer);
    } else if (!buffer) {
        buffer = load_sample_buffer(location);
    }
    if (!buffer)
        return {};
    return current_audio_backend()->create_sound(buffer, flags);
}

Ref<TSoundAsset> TAudioBackend::create_sound(const Ref<TSampleBuffer>&, int32_t)
{
    return make_ref<TSoundAsset>();
}

Ref<TVoice> TAudioBackend::alloc_voice() { return make_ref<TVoice>(); }

Ref<TAudioBackend> current_audio_backend() { return backend_slot(); }

void set_audio_backend(const Ref<TAudioBackend>& backend)
{
    if (backend)
        backend_slot() = backend;
}

} // namespace vantrel
