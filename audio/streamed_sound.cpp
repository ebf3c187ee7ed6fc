// Opening music and starting its plays.
#include "audio/streamed_sound.h"

#include "audio/audio_state.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer_backend.h"
#include "audio/stream_cursor.h"
#include "audio/stream_decoder.h"
#include "audio/music.h"

namespace vantrel {

TStreamedSoundAsset::TStreamedSoundAsset(Ref<TObject> location, std::unique_ptr<stream_reader> first,
                                         bool loop)
    : location_(std::move(location)), first_(std::move(first)), format_(first_->format),
      hertz_(first_->hertz), loop_(loop)
{
}

Ref<TVoice> TStreamedSoundAsset::play(const Ref<TVoice>& voice) { return start(voice, 0); }
Ref<TVoice> TStreamedSoundAsset::cue(const Ref<TVoice>& voice) { return start(voice, 1); }

Ref<TVoice> TStreamedSoundAsset::start(const Ref<TVoice>& voice, int32_t paused)
{
    stream_decoder* decoder = music_decoder();
    if (!decoder)
        return {};
    auto job = std::make_unique<stream_job>(std::move(first_), location_, format_, loop_);
    const int32_t channels = sample_channels(format_);
    mixsample* sample = create_stream_mixsample(sample_frame_bytes(format_) * 8 / channels, channels,
                                                hertz_, loop_ ? 1 : 0, &job->stream);
    if (!sample)
        return {};
    if (!decoder->add(job)) {
        release_mixsample(sample); // before its stream goes with the job
        return {};
    }
    Ref<TVoice> playing = start_on_voice(sample, voice, paused);
    release_mixsample(sample); // the sound holds it now, if it plays
    return playing;
}

stream_decoder* music_decoder()
{
    AudioState& st = audio_state();
    if (!st.device)
        return nullptr;
    if (!st.decoder)
        st.decoder = std::make_unique<stream_decoder>(st.device->threaded());
    return st.decoder.get();
}

Ref<TSoundAsset> open_music(const Ref<TObject>& location, int32_t flags)
{
    // An open stream is read through cursors anchored where it stands now,
    // and is left there.
    Ref<TObject> where = location;
    Ref<TByteStream> open = ref_cast<TByteStream>(location);
    const int32_t start = open ? open->pos() : -1;
    if (start >= 0)
        where = make_ref<TStreamCursor>(open);
    std::unique_ptr<stream_reader> reader = open_stream_reader(where);
    if (start >= 0)
        open->seek(start);
    if (!reader)
        return {};
    if (!audio_state().device || !ref_cast<TMixerBackend>(current_audio_backend()))
        return make_ref<TSoundAsset>(); // no output: silent, like a loaded sound
    return make_ref<TStreamedSoundAsset>(where, std::move(reader), flags != 0);
}

Ref<TSoundAsset> open_music(const Text& location, int32_t flags)
{
    return open_music(Ref<TObject>(location.object()), flags);
}

void pump_music()
{
    stream_decoder* decoder = audio_state().decoder.get();
    if (decoder && !decoder->threaded())
        decoder->step();
}

} // namespace vantrel
