// Handing out channels, looking them up by handle, and the channel operations.
#include "audio/channel_table.h"

#include "audio/audio_system.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/ringdevice.h"

#include <cmath>

namespace vantrel {
namespace {

constexpr auto relaxed = std::memory_order_relaxed;

uint32_t index_of(uint32_t handle) { return handle & CHANNEL_INDEX_MASK; }

// value * scale truncated toward zero, saturated to [low, high]; NaN gives 0.
int32_t to_fixed(float value, double scale, int32_t low, int32_t high)
{
    const double v = std::trunc(static_cast<double>(value) * scale);
    if (std::isnan(v))
        return 0;
    return v < low ? low : v > high ? high : static_cast<int32_t>(v);
}

void stop_unless_dead(sound* s)
{
    int32_t state = s->state.load(relaxed);
    while (state != SOUND_DEAD && !s->state.compare_exchange_weak(state, SOUND_STOPPED, relaxed)) {
    }
}

void free_channel(channel_table& t, uint32_t i)
{
    t.sounds[i] = nullptr;
    t.in_use[i] = false;
    t.next_free[i] = t.next_free[0];
    t.next_free[0] = i;
}

// The sound a play replaces: a settings holder goes back to the mixer; one
// that played is stopped and, once dead, retired like any other.
void replace(sound* old)
{
    if (!old->played) {
        old->owner->discard(old);
        return;
    }
    old->auto_release.store(1, relaxed);
    stop_unless_dead(old);
}

} // namespace

channel_table::channel_table()
{
    for (uint32_t i = 0; i < CHANNEL_SLOTS; ++i) {
        next_free[i] = i + 1 < CHANNEL_SLOTS ? i + 1 : 0;
        generation[i] = CHANNEL_GENERATION_STEP;
    }
}

uint32_t channel_alloc()
{
    channel_table* t = audio_channels();
    if (!t)
        return 0;
    const uint32_t i = t->next_free[0];
    if (i == 0)
        return 0;
    t->next_free[0] = t->next_free[i];
    t->next_free[i] = 0;
    t->in_use[i] = true;
    t->generation[i] += CHANNEL_GENERATION_STEP;
    return i + t->generation[i];
}

sound* channel_lookup(uint32_t handle)
{
    channel_table* t = audio_channels();
    ringdevice* device = audio_device();
    const uint32_t i = index_of(handle);
    if (!t || !device || handle == 0 || i == 0 || !t->in_use[i] || t->generation[i] != handle - i)
        return nullptr;
    if (!t->sounds[i])
        t->sounds[i] = device->get_mixer()->acquire_sound(nullptr);
    return t->sounds[i];
}

uint32_t channel_play(mixsample* sample, int32_t paused, uint32_t handle)
{
    channel_table* t = audio_channels();
    ringdevice* device = audio_device();
    if (!t || !device || !sample)
        return handle;
    const bool fresh = handle == 0;
    sound* parent = nullptr;
    if (fresh)
        handle = channel_alloc();
    else if (!(parent = channel_lookup(handle)))
        return 0; // stale: its index may belong to another voice now
    const uint32_t i = index_of(handle);
    // Unregistered while the mixer starts the new sound: if that reuses the
    // old, dead sound, its release must not free this channel.
    sound* old = handle ? t->sounds[i] : nullptr;
    t->sounds[i] = handle ? nullptr : t->sounds[i];
    sound* s = device->play(sample, parent, paused, handle, fresh ? 1 : 0);
    if (!s) {
        if (fresh && handle)
            free_channel(*t, i);
        else if (handle)
            t->sounds[i] = old;
        return 0;
    }
    if (handle) {
        if (old && old != s)
            replace(old);
        t->sounds[i] = s;
    }
    return handle;
}

void channel_release_slot(uint32_t handle, sound* s)
{
    channel_table* t = audio_channels();
    const uint32_t i = index_of(handle);
    if (!t || i == 0 || !t->in_use[i] || t->generation[i] != handle - i || t->sounds[i] != s)
        return;
    free_channel(*t, i);
}

int32_t channel_status(uint32_t handle)
{
    sound* s = channel_lookup(handle);
    return s ? s->state.load(relaxed) : 0;
}

int32_t channel_stop(uint32_t handle)
{
    sound* s = channel_lookup(handle);
    if (!s)
        return 0;
    if (!s->played) {
        // Nothing ever played here, so no sound will die to free the channel.
        channel_table* t = audio_channels();
        s->owner->discard(s);
        free_channel(*t, index_of(handle));
        return 0;
    }
    s->auto_release.store(1, relaxed);
    stop_unless_dead(s);
    return 0;
}

int32_t channel_set_paused(uint32_t handle, int32_t flag)
{
    if (sound* s = channel_lookup(handle)) {
        if (flag)
            s->state.fetch_or(SOUND_PAUSED, relaxed);
        else
            s->state.fetch_and(~SOUND_PAUSED, relaxed);
    }
    return 0;
}

int32_t channel_set_volume(uint32_t handle, float volume)
{
    if (sound* s = channel_lookup(handle))
        s->set_volume(static_cast<int16_t>(to_fixed(volume, 4096, -32768, 32767)));
    return 0;
}

int32_t channel_set_pan(uint32_t handle, float pan)
{
    // Beyond full left or right the pan law would turn one side negative.
    if (sound* s = channel_lookup(handle))
        s->set_pan(static_cast<int16_t>(to_fixed(pan, 4096, -4096, 4096)));
    return 0;
}

int32_t channel_set_surround(uint32_t handle, float surround)
{
    if (sound* s = channel_lookup(handle))
        s->set_surround(static_cast<int16_t>(to_fixed(surround, 4096, -32768, 32767)));
    return 0;
}

int32_t channel_set_rate(uint32_t handle, float rate)
{
    if (sound* s = channel_lookup(handle))
        s->set_rate(to_fixed(rate, 65536, INT32_MIN, INT32_MAX));
    return 0;
}

} // namespace vantrel
