// Sounds on voices: a hum that pans from left to right and back, a tone
// whose volume swells and fades and whose rate glides up and down, and a
// short blip every second on a voice of its own. The window shows the three settings as bars.
//
//   example_voices [--frames N] [--music FILE]
//
// Runs until Escape or the window's close box, or for N frames. The sounds
// are made in memory, so the example needs no files; --music streams a WAV
// or Ogg Vorbis file underneath them, looping.
#include "audio/audio.h"
#include "audio/music.h"
#include "audio/ogg.h"
#include "audio/sample_buffer.h"
#include "audio/sample_loader.h"
#include "core/error.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/graphics.h"
#include "gfx/graphics2d.h"
#include "input/events.h"
#include "input/keycodes.h"
#include "input/polled_input.h"
#include "input/system_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>

using namespace vantrel;

namespace {

// [snippet:sample-buffers]
// A sine tone as 16-bit mono samples, fading in and out at its ends so
// that it loops without a click.
Ref<TSampleBuffer> make_tone(float hertz, float loudness, float seconds)
{
    constexpr int32_t RATE = 22050;
    const auto frames = static_cast<int32_t>(RATE * seconds);
    Ref<TSampleBuffer> buffer = create_sample_buffer(frames, RATE, SAMPLE_MONO16_LE);
    for (int32_t i = 0; i < frames; ++i) {
        const float edge = std::fmin(1.0f, std::fmin(i, frames - 1 - i) / 200.0f);
        const auto value = static_cast<int16_t>(32767 * loudness * edge *
                                                std::sin(2 * std::numbers::pi_v<float> * hertz * i / RATE));
        buffer->data[2 * i] = static_cast<uint8_t>(value & 0xFF); // little-endian
        buffer->data[2 * i + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
    }
    return buffer;
}
// [/snippet]

// A setting's name and a bar with a mark at its value, from low to high.
void draw_setting(const char16_t* name, float value, float low, float high, float y)
{
    set_colour(255, 255, 255);
    draw_text(name, 16, y);
    set_colour(60, 80, 110);
    draw_rect(120, y, 480, 16);
    set_colour(250, 200, 60);
    draw_rect(120 + 480 * (value - low) / (high - low) - 4, y, 8, 16);
}

int run(int frames, const std::string& music_file)
{
    gl_backend_init();
    streams_init();
    sample_loaders_init();
#if VANTREL_HAVE_VORBIS
    ogg_loader_init(); // --music may name an Ogg Vorbis file
#endif
    audio_init(); // -1 without a sound card: the example then runs silently
    events_init();
    system_driver_init();
    graphics_init();
    graphics2d_init();
    set_app_title(u"Vantrel voices example");
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no window: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }

    // [snippet:sounds]
    Ref<TSoundAsset> hum = load_sound(make_tone(220, 0.5f, 1), 1); // flags 1: loop
    Ref<TSoundAsset> tone = load_sound(make_tone(660, 0.25f, 1), 1);
    Ref<TSoundAsset> blip = load_sound(make_tone(1320, 0.25f, 0.15f), 0);
    Ref<TVoice> hum_voice = alloc_voice();
    set_voice_pan(hum_voice, -1.0f); // kept for the sound it will play
    play_sound(hum, hum_voice);
    Ref<TVoice> tone_voice = play_sound(tone, Ref<TVoice>()); // on a fresh voice
    // [/snippet]

    Ref<TVoice> music_voice;
    if (!music_file.empty()) {
        // [snippet:music]
        Ref<TSoundAsset> music = open_music(Text::from_bytes(music_file), 1); // flags 1: loop
        if (!music) {
            std::fprintf(stderr, "cannot play %s\n", music_file.c_str());
        } else if ((music_voice = prepare_sound(music, Ref<TVoice>()))) { // paused until resumed
            set_voice_volume(music_voice, 0.4f); // underneath the tones, with no fade-in
            resume_voice(music_voice);           // decoded while it plays
        }
        // [/snippet]
    }

    for (int frame = 0; frame != frames; ++frame) {
        if (take_key_hits(KEY_ESCAPE) || app_terminate_requested())
            break;
        // [snippet:voices]
        // Left, across, a while on the right, and back, every four seconds.
        const float pan = std::clamp(-2 * std::cos(frame * std::numbers::pi_v<float> / 120), -1.0f, 1.0f);
        const float volume = 0.5f + 0.5f * std::sin(frame * std::numbers::pi_v<float> / 90);
        const float rate = 1.0f + 0.5f * std::sin(frame * std::numbers::pi_v<float> / 150);
        set_voice_pan(hum_voice, pan);
        set_voice_volume(tone_voice, volume);
        set_voice_rate(tone_voice, rate);
        if (frame % 60 == 59)
            play_sound(blip, Ref<TVoice>()); // plays once, then frees its voice
        // [/snippet]

        clear_screen();
        set_blend_mode(BLEND_ALPHA);
        draw_setting(u"hum pan", pan, -1, 1, 100);
        draw_setting(u"tone vol", volume, 0, 1, 140);
        draw_setting(u"tone rate", rate, 0.5f, 1.5f, 180);
        flip_frame(-1);
    }
    stop_voice(hum_voice);
    stop_voice(tone_voice);
    if (music_voice)
        stop_voice(music_voice);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int frames = -1; // -1: until Escape or the close box
    std::string music;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--frames")
            frames = std::atoi(argv[i + 1]);
        else if (std::string(argv[i]) == "--music")
            music = argv[i + 1];
    }
    try {
        return run(frames, music);
    } catch (const TRuntimeError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
