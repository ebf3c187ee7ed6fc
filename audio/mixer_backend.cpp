// Sounds and voices over the mixer and the channel table.
#include "audio/mixer_backend.h"

#include "audio/audio_system.h"
#include "audio/channel_table.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/ringdevice.h"
#include "audio/mixer/sound.h"

#include <limits>

namespace vantrel {

Ref<TMixerVoice> TMixerVoice::create(uint32_t handle) { return make_ref<TMixerVoice>(handle); }

int32_t TMixerVoice::stop() { return channel_stop(handle); }
int32_t TMixerVoice::set_paused(int32_t flag) { return channel_set_paused(handle, flag); }
int32_t TMixerVoice::set_volume(float volume) { return channel_set_volume(handle, volume); }
int32_t TMixerVoice::set_pan(float pan) { return channel_set_pan(handle, pan); }
int32_t TMixerVoice::set_surround(float surround) { return channel_set_surround(handle, surround); }
int32_t TMixerVoice::set_rate(float rate) { return channel_set_rate(handle, rate); }

// Playing, looping or paused; not stopped, dead or stale.
int32_t TMixerVoice::playing() { return (channel_status(handle) & ~SOUND_STOPPED) != 0 ? 1 : 0; }

// The frames are freed once the last sound playing them is retired too.
TMixerSoundAsset::~TMixerSoundAsset() { release_mixsample(sample); }

Ref<TMixerSoundAsset> TMixerSoundAsset::create(mixsample* sample)
{
    return make_ref<TMixerSoundAsset>(sample);
}

Ref<TVoice> TMixerSoundAsset::play(const Ref<TVoice>& voice) { return start_on_voice(sample, voice, 0); }
Ref<TVoice> TMixerSoundAsset::cue(const Ref<TVoice>& voice) { return start_on_voice(sample, voice, 1); }

Ref<TVoice> start_on_voice(mixsample* sample, const Ref<TVoice>& voice, int32_t paused)
{
    Ref<TMixerVoice> mine;
    if (voice) {
        mine = ref_cast<TMixerVoice>(voice);
        if (!mine)
            return {}; // a voice of another back end
    }
    const uint32_t h = channel_play(sample, paused, mine ? mine->handle : 0);
    if (h == 0)
        return {};
    if (mine && mine->handle == h)
        return mine;
    return TMixerVoice::create(h);
}

Ref<TSoundAsset> TMixerBackend::create_sound(const Ref<TSampleBuffer>& buffer, int32_t flags)
{
    Ref<TSampleBuffer> frames = buffer;
    if (frames->format == SAMPLE_MONO16_BE)
        frames = frames->convert(SAMPLE_MONO16_LE);
    else if (frames->format == SAMPLE_STEREO16_BE)
        frames = frames->convert(SAMPLE_STEREO16_LE);
    const int32_t channels = sample_channels(frames->format);
    if (channels == 0)
        return {};
    const int32_t bits = sample_frame_bytes(frames->format) * 8 / channels;
    mixsample* sample = create_mixsample(frames->frames, bits, channels, frames->hertz,
                                         frames->data, flags != 0 ? 1 : 0);
    if (!sample)
        return {};
    return TMixerSoundAsset::create(sample);
}

namespace {

class ReaderFill final : public mixfill {
public:
    explicit ReaderFill(std::unique_ptr<stream_reader> reader) : reader_(std::move(reader)) {}
    int32_t read(uint8_t* out, int32_t frames) override { return reader_->read(out, frames); }

private:
    std::unique_ptr<stream_reader> reader_;
};

} // namespace

bool TMixerBackend::decodes_as_it_plays() const
{
    const ringdevice* device = audio_device();
    return device && !device->threaded();
}

Ref<TSoundAsset> TMixerBackend::create_deferred_sound(std::unique_ptr<stream_reader> reader,
                                                      int32_t flags)
{
    if (!reader || reader->total_frames < 1 || reader->total_frames > std::numeric_limits<int32_t>::max())
        return {};
    const int32_t format = reader->format;
    if (format == SAMPLE_MONO16_BE || format == SAMPLE_STEREO16_BE)
        return {};
    const int32_t channels = sample_channels(format);
    if (channels == 0)
        return {};
    const int32_t bits = sample_frame_bytes(format) * 8 / channels;
    const auto frames = static_cast<int32_t>(reader->total_frames);
    const int32_t hertz = reader->hertz;
    mixsample* sample = create_filled_mixsample(frames, bits, channels, hertz,
                                                std::make_unique<ReaderFill>(std::move(reader)),
                                                flags != 0 ? 1 : 0);
    if (!sample)
        return {};
    return TMixerSoundAsset::create(sample);
}

Ref<TVoice> TMixerBackend::alloc_voice()
{
    const uint32_t h = channel_alloc();
    if (h == 0)
        return {};
    return TMixerVoice::create(h);
}

} // namespace vantrel
