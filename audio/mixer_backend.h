// The back end over the mixer: sounds own a mixsample, voices hold a channel
// handle. A voice owns nothing; dropping it neither stops nor frees its
// channel.
#pragma once

#include "audio/sound_asset.h"
#include "audio/stream_reader.h"

#include <cstdint>
#include <memory>

namespace vantrel {

struct mixsample;

class TMixerVoice final : public TVoice {
public:
    explicit TMixerVoice(uint32_t handle_) : handle(handle_) {}
    static Ref<TMixerVoice> create(uint32_t handle);

    int32_t stop() override;
    int32_t set_paused(int32_t flag) override;
    int32_t set_volume(float volume) override;
    int32_t set_pan(float pan) override;
    int32_t set_surround(float surround) override;
    int32_t set_rate(float rate) override;
    int32_t playing() override;

    const uint32_t handle;
};

class TMixerSoundAsset final : public TSoundAsset {
public:
    explicit TMixerSoundAsset(mixsample* sample_) : sample(sample_) {}
    ~TMixerSoundAsset() override;
    // Takes over the caller's reference to `sample`.
    static Ref<TMixerSoundAsset> create(mixsample* sample);

    Ref<TVoice> play(const Ref<TVoice>& voice) override;
    Ref<TVoice> cue(const Ref<TVoice>& voice) override;

    mixsample* const sample;
};

// Starts `sample` on `voice` (a TMixerVoice, or null for a fresh channel)
// and returns the voice it plays on; the null object for a voice of another
// back end or when it plays on no channel.
Ref<TVoice> start_on_voice(mixsample* sample, const Ref<TVoice>& voice, int32_t paused);

class TMixerBackend final : public TAudioBackend {
public:
    Ref<TSoundAsset> create_sound(const Ref<TSampleBuffer>& buffer, int32_t flags) override;
    Ref<TVoice> alloc_voice() override;

    // Whether a loaded sound may be decoded as it plays (deferred_loader.h):
    // only where the mixer runs on the caller's thread, pulled, as the
    // decoding it would take on costs that thread anyway. A refill thread
    // has the device's deadline to keep.
    bool decodes_as_it_plays() const;
    // A sound of the reader's frames, decoded into its sample as the mixer
    // reaches them; the null object for a reader without a length or in a
    // format the mixer does not take as it is (big-endian).
    Ref<TSoundAsset> create_deferred_sound(std::unique_ptr<stream_reader> reader, int32_t flags);
};

} // namespace vantrel
