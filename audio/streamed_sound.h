// The streamed sound asset of the mixer back end: each play starts a decode
// job and a streamed mixsample reading from it.
#pragma once

#include "audio/sound_asset.h"
#include "audio/stream_reader.h"

#include <cstdint>
#include <memory>

namespace vantrel {

class stream_decoder;

class TStreamedSoundAsset final : public TSoundAsset {
public:
    // `first`: the reader open_music checked the file with; the first play
    // decodes through it, later ones open `location` again on the decoder
    // thread.
    TStreamedSoundAsset(Ref<TObject> location, std::unique_ptr<stream_reader> first, bool loop);

    Ref<TVoice> play(const Ref<TVoice>& voice) override;
    Ref<TVoice> cue(const Ref<TVoice>& voice) override;

private:
    Ref<TVoice> start(const Ref<TVoice>& voice, int32_t paused);

    const Ref<TObject> location_;
    std::unique_ptr<stream_reader> first_;
    const int32_t format_;
    const int32_t hertz_;
    const bool loop_;
};

// The decoder of the open output, made on first use; nullptr while the
// output is closed.
stream_decoder* music_decoder();

} // namespace vantrel
