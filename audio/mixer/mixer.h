// mixer: sums every playing sound into blocks of saturated 16-bit stereo.
//
// Two threads share it without a lock. The main thread starts sounds with
// play() and changes their settings; the output device's refill thread calls
// mix_s16() once per block. They meet in two single-producer single-consumer
// rings: `incoming` carries started sounds to the mixing thread, `free` carries
// retired sounds back for reuse, so steady playback allocates nothing. The
// active list belongs to the mixing thread alone.
#pragma once

#include "audio/mixer/output.h"
#include "audio/mixer/sound.h"
#include "audio/mixer/spsc_ring.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vantrel {

struct mixsample;

constexpr uint32_t MIXER_RING_SLOTS = 4096;
constexpr int32_t MIXER_START_DELAY_MS = 20;

class mixer final : public output {
public:
    // `count`: accumulator length, the output samples of one block.
    explicit mixer(int32_t count);
    ~mixer() override;

    // A neutral parent: setters do nothing, getters give the defaults.
    void set_rate(int32_t) override {}
    void set_volume(int16_t) override {}
    void set_pan(int16_t) override {}
    void set_surround(int16_t) override {}
    int32_t get_rate(int32_t) const override { return RATE_UNITY; }
    int32_t get_volume(int32_t) const override { return VOLUME_UNITY; }
    int32_t get_pan(int32_t) const override { return 0; }
    int32_t get_surround(int32_t) const override { return 0; }

    // Main thread: a sound with the parent's target settings (or the
    // defaults), reused from the free ring when one is there. Not queued.
    sound* acquire_sound(output* parent);

    // Main thread: starts `sample` in `initial_state`. The handle and the
    // auto-release flag are set before the sound is handed to the mixing
    // thread, so that it can never finish under the wrong flag. nullptr when
    // there is no sample, it has no channels, the output rate is not set, a
    // looping sound would have no frames, or the incoming ring is full.
    sound* play(mixsample* sample, output* parent, int32_t initial_state, uint32_t handle = 0,
                int32_t auto_release = 0);

    // Mixing thread: mixes one block of `m` samples (0 means `count`) into
    // `destination`.
    void mix_s16(int16_t* destination, int32_t m);

    // Mixing thread, or a host's audio callback with no refill thread:
    // `frames` whole frames into `destination`, in blocks of at most `count`
    // samples, so the sound is the one the refill thread would write.
    void pull(int16_t* destination, int32_t frames);

    // Main thread: takes back a sound that was acquired but never played (a
    // channel's settings holder) for a later acquire_sound.
    void discard(sound* s);

    // Main thread, once the mixing thread has stopped: retires every sound,
    // started or playing.
    void retire_all();

    // Called on the main thread when a retired sound that still carries a
    // channel handle is reused, so the channel layer can free that channel if
    // this sound is the one registered on it.
    using handle_release_fn = void (*)(void* user, uint32_t handle, sound* s);
    void set_handle_release(handle_release_fn fn, void* user);

    // Main thread: how many sound objects this mixer has made.
    size_t sound_count() const { return sounds_.size(); }

    // Mixing thread (or a quiet mixer): the number of sounds in the active list.
    int32_t active_count() const;

    std::unique_ptr<int32_t[]> accumulator; // all zero between blocks
    const int32_t count;
    int32_t rate = 0;     // output rate, set by the device before any play
    int32_t channels = 0;
    sound* active = nullptr;
    spsc_ring<sound*, MIXER_RING_SLOTS> incoming;
    spsc_ring<sound*, MIXER_RING_SLOTS> free;

private:
    void take_in();
    bool retire(sound* s);
    void finish(sound* s);

    std::vector<std::unique_ptr<sound>> sounds_; // every sound made; main thread
    std::vector<sound*> spare_;                  // discarded, never played; main thread
    handle_release_fn release_handle_ = nullptr;
    void* release_user_ = nullptr;
};

} // namespace vantrel
