#include "page_sound.h"

#include "audio/audio_system.h"

#include <SDL.h>

namespace vantrel::web {

bool PageSound::open()
{
    if (device_ != 0)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec want{};
    want.freq = MixerPace::RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &PageSound::fill;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to the browser's rate.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void PageSound::fill(void* user, uint8_t* stream, int length)
{
    auto* self = static_cast<PageSound*>(user);
    const int32_t frames = length / static_cast<int32_t>(2 * sizeof(int16_t));
    pull_audio(reinterpret_cast<int16_t*>(stream), frames);
    self->pace_.mixed(frames);
}

void PageSound::keep_up(double now_ms)
{
    const int32_t owed = pace_.owed(now_ms);
    if (owed <= 0)
        return;
    dropped_.resize(static_cast<size_t>(owed) * 2);
    pull_audio(dropped_.data(), owed);
    pace_.mixed(owed);
}

void PageSound::close()
{
    if (device_ == 0)
        return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace vantrel::web
