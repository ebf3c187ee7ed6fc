#include "audio/audio_state.h"

#include "audio/audio_system.h"

#include <utility>

namespace vantrel {

AudioState& audio_state()
{
    static AudioState state;
    return state;
}

void AudioState::reset()
{
    audio_shutdown();
    AudioState old;
    std::swap(*this, old);
    exit_registered = old.exit_registered;
}

} // namespace vantrel
