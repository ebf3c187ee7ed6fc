// The SDL audio output: SDL's callback pulls from the ring as a sound card
// would, advancing the byte cursor.
#pragma once

#include "platform/audio_output.h"

namespace vantrel::platform {

// The SDL output on the default device. `tap`, when given, sees every buffer
// handed over (tests and measurements).
Ref<AudioOutput> create_sdl_audio_output(AudioTap tap = nullptr, void* tap_user = nullptr);

} // namespace vantrel::platform
