// Sounds and voices as the game sees them, and the silent back end.
//
// A TSoundAsset is a loaded sound that can be played any number of times; a
// TVoice is the channel it plays on. The current TAudioBackend makes both.
// The base classes here are silent: they are current until the output device
// opens, and stay current when it cannot, so a machine without sound runs the
// game unchanged.
#pragma once

#include "audio/sample_buffer.h"
#include "core/object.h"
#include "core/text.h"

#include <cstdint>

namespace vantrel {

class TVoice : public TObject {
public:
    virtual int32_t stop() { return 0; }
    virtual int32_t set_paused(int32_t) { return 0; }
    virtual int32_t set_volume(float) { return 0; }
    virtual int32_t set_pan(float) { return 0; }
    virtual int32_t set_surround(float) { return 0; }
    virtual int32_t set_rate(float) { return 0; }
    virtual int32_t playing() { return 0; }
};

class TSoundAsset : public TObject {
public:
    // Starts the sound on `voice`, or on a fresh voice when it is null.
    virtual Ref<TVoice> play(const Ref<TVoice>& voice);
    // Like play, but the sound starts paused.
    virtual Ref<TVoice> cue(const Ref<TVoice>& voice);

    // A location (text or open stream) or a TSampleBuffer; the null object
    // when nothing decodes. Any non-zero `flags` makes the sound loop.
    static Ref<TSoundAsset> load(const Ref<TObject>& location, int32_t flags);
};

class TAudioBackend : public TObject {
public:
    virtual Ref<TSoundAsset> create_sound(const Ref<TSampleBuffer>& buffer, int32_t flags);
    virtual Ref<TVoice> alloc_voice();
};

// The back end in use: silent until the output opens.
Ref<TAudioBackend> current_audio_backend();
void set_audio_backend(const Ref<TAudioBackend>& backend);

} // namespace vantrel
