// sound: one playing instance of a mixsample inside a mixer.
//
// Each sound keeps its own 32.32 play position, speed, volume, pan and
// surround. The main thread writes the state, the auto-release flag and the
// target settings; the mixing thread reads them once per block, ramps the
// current volume and speed to the targets across that block, and writes the
// state back when the sound ends. Fields both threads touch are atomics with
// relaxed ordering: a setting takes effect at the next block, and the rings
// that hand a sound between the threads carry the ordering for the rest.
#pragma once

#include "audio/mixer/output.h"

#include <atomic>
#include <cstdint>

namespace vantrel {

class mixer;
struct mixsample;
namespace mixing {
struct block;
}

constexpr int32_t SOUND_DEAD = 0;     // finished for good; the next pass retires it
constexpr int32_t SOUND_STOPPED = 1;  // stays in the active list, produces nothing
constexpr int32_t SOUND_PLAYING = 2;  // plays once to the end
constexpr int32_t SOUND_LOOPING = 4;  // wraps to the start at the end
constexpr int32_t SOUND_PAUSED = 16;  // added to PLAYING or LOOPING: skipped, position kept

constexpr int32_t RATE_UNITY = 65536;
constexpr int16_t VOLUME_UNITY = 4096;

// What mix_into reports for one block.
constexpr int32_t MIX_GOING = 0;
constexpr int32_t MIX_FINISHED = 1; // reached its end, or is stopped
constexpr int32_t MIX_DEAD = -1;
constexpr int32_t MIX_PAUSED = -2;

class sound final : public output {
public:
    explicit sound(mixer* owner_mixer) : owner(owner_mixer) {}

    void set_rate(int32_t rate) override;
    void set_volume(int16_t volume) override;
    void set_pan(int16_t pan) override;
    void set_surround(int16_t surround) override;
    int32_t get_rate(int32_t which) const override;
    int32_t get_volume(int32_t which) const override;
    int32_t get_pan(int32_t which) const override;
    int32_t get_surround(int32_t which) const override;

    // Mixing thread: adds this block's frames into `accumulator` (`count`
    // values, two per stereo frame). Returns one of the MIX_ codes.
    int32_t mix_into(int32_t* accumulator, int32_t count);

    // Sets the current and target settings together (no ramp).
    void reset_settings(int32_t rate, int16_t volume, int16_t pan, int16_t surround);

    // Play position in sample values (frame index * channels), 32.32.
    int32_t pos_int() const noexcept { return static_cast<int32_t>(position >> 32); }
    uint32_t pos_frac() const noexcept { return static_cast<uint32_t>(position); }

    mixer* const owner;
    std::atomic<int32_t> state{SOUND_STOPPED};
    uint32_t handle = 0; // channel handle (main thread only); 0 for none
    std::atomic<int32_t> auto_release{0};
    sound* next = nullptr;          // active list link (mixing thread only)
    mixsample* sample = nullptr;    // a held reference while it plays
    uint64_t position = 0;          // mixing thread once queued
    std::atomic<int32_t> rate_now{RATE_UNITY}, rate_target{RATE_UNITY};
    std::atomic<int16_t> volume_now{VOLUME_UNITY}, volume_target{VOLUME_UNITY};
    std::atomic<int16_t> pan_now{0}, pan_target{0};
    std::atomic<int16_t> surround_now{0}, surround_target{0};
    bool played = false;     // main thread only: false for a settings holder
    int32_t queued_ms = 0;   // clock reading when it was started
    int32_t start_delay = 0; // output frames still to wait before it sounds

private:
    bool paused() const noexcept;
    bool begin_block(int32_t& first, int32_t& n);
    bool mix_block(const mixsample& smp, mixing::block& b);
};

} // namespace vantrel
