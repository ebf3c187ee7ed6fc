// Starting and stopping the audio system.
//
// audio_init opens the output device; when it opens, the channel table is
// made, the mixer back end replaces the silent one and audio_shutdown is
// registered to run at exit. Calling audio_init again while the output is
// open does nothing.
#pragma once

#include "platform/audio_output.h"

#include <cstdint>

namespace vantrel {

class ringdevice;
struct channel_table;

// Over the default output of the platform backend registered at start-up
// (the graphics backend's init does it). 0, or -1 when the output does not open or there is
// no backend (the silent back end stays).
int32_t audio_init();
// Closes the device (its thread joined) and frees the channel table.
void audio_shutdown();

// audio_init over a given output binding; false when the output does not
// open. With `threaded` false nothing refills the device but the caller
// (tests step it by hand).
bool audio_init_with(Ref<platform::AudioOutput> output, bool threaded);

// For a host whose audio callback asks for sound (after audio_init_with with
// `threaded` false): `frames` 44.1 kHz stereo S16 frames from the device's
// mixer into `destination`; silence while no device is open.
void pull_audio(int16_t* destination, int32_t frames);

// The open device and its channel table; nullptr while the output is closed.
ringdevice* audio_device();
channel_table* audio_channels();

} // namespace vantrel
