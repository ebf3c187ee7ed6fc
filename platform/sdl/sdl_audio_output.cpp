// The SDL audio output: SDL's callback stands in for the sound card that
// loops over the ring, copying from the play cursor and advancing it.
#include "platform/sdl/sdl_audio_output.h"

#include "platform/process.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace vantrel::platform {
namespace {

class SdlAudioOutput final : public AudioOutput {
public:
    SdlAudioOutput(AudioTap tap, void* tap_user) : tap_(tap), tap_user_(tap_user) {}
    ~SdlAudioOutput() override { close(); }

    bool open(int32_t rate, int32_t channels, int32_t bits, const uint8_t* ring,
              uint32_t ring_bytes) override;
    bool submit() override;
    void reset() override;
    bool position(uint32_t& bytes) override;
    void set_written(uint32_t bytes) override { written_.store(bytes, std::memory_order_release); }
    void close() override;
    bool lost() override;
    bool reopen() override;

private:
    static void SDLCALL callback(void* user, Uint8* stream, int len);
    bool open_device();
    void fill(uint8_t* stream, uint32_t len);

    AudioTap tap_;
    void* tap_user_;
    SDL_AudioDeviceID device_ = 0;
    bool subsystem_ = false; // holds a reference to SDL's audio subsystem
    SDL_AudioSpec want_{};
    const uint8_t* ring_ = nullptr;
    uint32_t ring_bytes_ = 0;
    uint8_t silence_ = 0;
    // playing_ and cursor_ change on the main side only under the device
    // lock, which SDL also holds around every callback.
    std::atomic<bool> playing_{false};
    std::atomic<uint32_t> cursor_{0};
    std::atomic<uint32_t> written_{0};
};

bool SdlAudioOutput::open(int32_t rate, int32_t channels, int32_t bits, const uint8_t* ring,
                          uint32_t ring_bytes)
{
    close();
    if ((bits != 8 && bits != 16) || ring_bytes == 0 || !ring)
        return false;
    // SDL would otherwise take SIGINT and SIGTERM when audio starts.
    if (quit_signal_handlers_installed())
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    subsystem_ = true;
    want_ = SDL_AudioSpec{};
    want_.freq = rate;
    want_.format = bits == 16 ? AUDIO_S16LSB : AUDIO_U8;
    want_.channels = static_cast<Uint8>(channels);
    want_.samples = 512;
    want_.callback = &SdlAudioOutput::callback;
    want_.userdata = this;
    ring_ = ring;
    ring_bytes_ = ring_bytes;
    silence_ = bits == 16 ? 0 : 128;
    if (!open_device()) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
        return false;
    }
    return true;
}

bool SdlAudioOutput::open_device()
{
    cursor_.store(0);
    written_.store(0);
    playing_.store(false);
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want_, &have, 0);
    return device_ != 0;
}

// SDL keeps calling back a device it has lost, into a buffer nobody plays,
// so the cursor alone does not tell.
bool SdlAudioOutput::lost()
{
    return subsystem_ && (device_ == 0 || SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED);
}

// The subsystem reference is kept, so this never starts or stops SDL's audio
// subsystem from the refill thread.
bool SdlAudioOutput::reopen()
{
    if (!subsystem_)
        return false;
    if (device_ != 0)
        SDL_CloseAudioDevice(device_); // waits for a running callback
    device_ = 0;
    return open_device();
}

bool SdlAudioOutput::submit()
{
    if (device_ == 0)
        return false;
    SDL_LockAudioDevice(device_);
    cursor_.store(0, std::memory_order_relaxed);
    playing_.store(true, std::memory_order_relaxed);
    SDL_UnlockAudioDevice(device_);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudioOutput::reset()
{
    if (device_ == 0)
        return;
    SDL_LockAudioDevice(device_);
    playing_.store(false, std::memory_order_relaxed);
    cursor_.store(0, std::memory_order_release);
    written_.store(0, std::memory_order_relaxed);
    SDL_UnlockAudioDevice(device_);
}

bool SdlAudioOutput::position(uint32_t& bytes)
{
    if (device_ == 0)
        return false;
    bytes = cursor_.load(std::memory_order_acquire);
    return true;
}

void SdlAudioOutput::close()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_); // waits for a running callback
    device_ = 0;
    if (subsystem_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystem_ = false;
    playing_.store(false);
}

void SDLCALL SdlAudioOutput::callback(void* user, Uint8* stream, int len)
{
    auto* self = static_cast<SdlAudioOutput*>(user);
    self->fill(stream, static_cast<uint32_t>(std::max(len, 0)));
    if (self->tap_)
        self->tap_(self->tap_user_, stream, static_cast<uint32_t>(std::max(len, 0)));
}

void SdlAudioOutput::fill(uint8_t* stream, uint32_t len)
{
    if (!playing_.load(std::memory_order_relaxed)) {
        std::memset(stream, silence_, len);
        return;
    }
    const uint32_t cursor = cursor_.load(std::memory_order_relaxed);
    const uint32_t written = written_.load(std::memory_order_acquire);
    for (uint32_t done = 0; done < len;) {
        const uint32_t at = cursor + done;
        const uint32_t offset = at % ring_bytes_;
        const uint32_t chunk = std::min(len - done, ring_bytes_ - offset);
        const uint32_t fresh = written > at ? std::min(chunk, written - at) : 0;
        std::memcpy(stream + done, ring_ + offset, fresh);
        std::memset(stream + done + fresh, silence_, chunk - fresh);
        done += chunk;
    }
    cursor_.store(cursor + len, std::memory_order_release);
}

} // namespace

Ref<AudioOutput> create_sdl_audio_output(AudioTap tap, void* tap_user)
{
    return make_ref<SdlAudioOutput>(tap, tap_user);
}

} // namespace vantrel::platform
