// The channel table: 4095 numbered channels, each naming the mixer sound that
// plays on it, identified by handles that carry a generation count.
//
// A handle is the channel index (1..4095, low 12 bits) plus the channel's
// generation (a multiple of 4096, raised each time the channel is handed out),
// so a voice holds a plain number and a stale number finds nothing. Main
// thread only.
#pragma once

#include <array>
#include <cstdint>

namespace vantrel {

class sound;
struct mixsample;

constexpr uint32_t CHANNEL_SLOTS = 4096;
constexpr uint32_t CHANNEL_INDEX_MASK = CHANNEL_SLOTS - 1;
constexpr uint32_t CHANNEL_GENERATION_STEP = 4096;

struct channel_table {
    channel_table();

    std::array<sound*, CHANNEL_SLOTS> sounds{};
    std::array<uint32_t, CHANNEL_SLOTS> next_free{}; // [0]: first free channel; 0 ends the list
    std::array<uint32_t, CHANNEL_SLOTS> generation{};
    std::array<bool, CHANNEL_SLOTS> in_use{};
};

// A new handle, or 0 when every channel is taken.
uint32_t channel_alloc();
// The channel's sound (a settings holder is made for a channel with none), or
// nullptr for 0, a stale handle, or a closed output.
sound* channel_lookup(uint32_t handle);
// Starts `sample` on the channel (0: a fresh one); the handle it plays on, or
// 0 when it plays on no channel or not at all.
uint32_t channel_play(mixsample* sample, int32_t paused, uint32_t handle);
// The state of the channel's sound, 0 when none.
int32_t channel_status(uint32_t handle);
int32_t channel_stop(uint32_t handle);
int32_t channel_set_paused(uint32_t handle, int32_t flag);
int32_t channel_set_volume(uint32_t handle, float volume);
int32_t channel_set_pan(uint32_t handle, float pan);
int32_t channel_set_surround(uint32_t handle, float surround);
int32_t channel_set_rate(uint32_t handle, float rate);

// The mixer reuses retired sound `s`, which played on `handle`: when it is
// still the channel's registered sound, the channel is free again.
void channel_release_slot(uint32_t handle, sound* s);

} // namespace vantrel
