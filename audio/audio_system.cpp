// Opening and closing the output device; what it keeps is in audio_state.h.
#include "audio/audio_system.h"

#include "audio/audio_state.h"
#include "audio/channel_table.h"
#include "audio/mixer/ringdevice.h"
#include "audio/mixer_backend.h"
#include "audio/music.h"
#include "audio/sound_asset.h"

#include <algorithm>
#include <cstdlib>

namespace vantrel {
namespace {

AudioState& state() { return audio_state(); }

void release_hook(void*, uint32_t handle, sound* s) { channel_release_slot(handle, s); }

void shutdown_at_exit() { audio_shutdown(); }

} // namespace

bool audio_init_with(Ref<platform::AudioOutput> output, bool threaded)
{
    AudioState& st = state();
    if (st.device)
        return true;
    set_audio_backend(make_ref<TAudioBackend>());
    auto device = std::make_unique<ringdevice>(std::move(output), threaded);
    if (device->init() != 0) {
        device->close();
        st.failed = true;
        return false;
    }
    st.failed = false;
    st.channels = std::make_unique<channel_table>();
    device->get_mixer()->set_handle_release(&release_hook, nullptr);
    st.device = std::move(device);
    if (!st.exit_registered) {
        st.exit_registered = true;
        std::atexit(&shutdown_at_exit);
    }
    set_audio_backend(make_ref<TMixerBackend>());
    return true;
}

int32_t audio_init()
{
    AudioState& st = state();
    if (st.device)
        return 0;
    if (st.failed)
        return -1; // no output now means none later: do not probe it again
    return audio_init_with(platform::create_audio_output(), true) ? 0 : -1;
}

void audio_shutdown()
{
    AudioState& st = state();
    st.channels.reset();
    if (st.device) {
        st.device->close();
        st.device.reset();
    }
    // Once the device has retired every sound, no stream is read any more.
    st.decoder.reset();
    st.failed = false;
}

void pull_audio(int16_t* destination, int32_t frames)
{
    if (frames <= 0)
        return;
    pump_music();
    if (ringdevice* device = audio_device())
        device->get_mixer()->pull(destination, frames);
    else
        std::fill_n(destination, static_cast<size_t>(frames) * DEVICE_CHANNELS, int16_t{0});
}

ringdevice* audio_device() { return state().device.get(); }
channel_table* audio_channels() { return state().channels.get(); }

} // namespace vantrel
