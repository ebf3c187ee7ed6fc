// The mixer's two sides: starting sounds on the main thread, and taking them
// in, mixing, retiring and saturating on the mixing thread.
#include "audio/mixer/mixer.h"

#include "audio/mixer/mixsample.h"
#include "input/clock.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vantrel {
namespace {

constexpr auto relaxed = std::memory_order_relaxed;

// Writes max(-32768, min(32767, a >> 4)) for each accumulator entry and clears
// the entry. SSE2's signed pack saturates exactly that way.
void saturate_block(int32_t* acc, int16_t* destination, int32_t m)
{
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= m; i += 8) {
        auto* a = reinterpret_cast<__m128i*>(acc + i);
        const __m128i lo = _mm_srai_epi32(_mm_loadu_si128(a), 4);
        const __m128i hi = _mm_srai_epi32(_mm_loadu_si128(a + 1), 4);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), _mm_packs_epi32(lo, hi));
        _mm_storeu_si128(a, zero);
        _mm_storeu_si128(a + 1, zero);
    }
#endif
    for (; i < m; ++i) {
        destination[i] = static_cast<int16_t>(std::clamp(acc[i] >> 4, -32768, 32767));
        acc[i] = 0;
    }
}

} // namespace

mixer::mixer(int32_t block_count)
    : accumulator(std::make_unique<int32_t[]>(static_cast<size_t>(std::max(block_count, 0)))),
      count(std::max(block_count, 0))
{
}

mixer::~mixer() { retire_all(); }

void mixer::set_handle_release(handle_release_fn fn, void* user)
{
    release_handle_ = fn;
    release_user_ = user;
}

sound* mixer::acquire_sound(output* parent)
{
    sound* s = nullptr;
    if (free.pop(s)) {
        if (s->handle && release_handle_)
            release_handle_(release_user_, s->handle, s);
        s->handle = 0;
    } else if (!spare_.empty()) {
        s = spare_.back();
        spare_.pop_back();
    } else {
        sounds_.push_back(std::make_unique<sound>(this));
        s = sounds_.back().get();
    }
    s->state.store(SOUND_STOPPED, relaxed);
    s->auto_release.store(0, relaxed);
    s->next = nullptr;
    s->played = false;
    s->position = 0;
    s->start_delay = 0;
    if (parent)
        s->reset_settings(parent->get_rate(1), static_cast<int16_t>(parent->get_volume(1)),
                          static_cast<int16_t>(parent->get_pan(1)),
                          static_cast<int16_t>(parent->get_surround(1)));
    else
        s->reset_settings(RATE_UNITY, VOLUME_UNITY, 0, 0);
    return s;
}

sound* mixer::play(mixsample* sample, output* parent, int32_t initial_state, uint32_t handle,
                   int32_t auto_release)
{
    if (!sample || sample->channels == 0 || rate == 0)
        return nullptr;
    // A looping sound over no frames would wrap for ever at position 0.
    // (A streamed sample's frames are in its stream.)
    if (sample->frames == 0 && !sample->stream && (sample->loop || (initial_state & SOUND_LOOPING)))
        return nullptr;
    if (incoming.full())
        return nullptr;
    sound* s = acquire_sound(parent);
    retain_mixsample(sample);
    s->sample = sample;
    s->played = true;
    s->position = 0;
    s->queued_ms = clock_ms();
    s->handle = handle;
    s->auto_release.store(auto_release, relaxed);
    s->state.store(initial_state, relaxed);
    incoming.push(s);
    return s;
}

void mixer::discard(sound* s)
{
    if (s && !s->played && s->owner == this)
        spare_.push_back(s);
}

void mixer::take_in()
{
    if (incoming.empty())
        return;
    const int32_t now = clock_ms();
    sound* s = nullptr;
    while (incoming.pop(s)) {
        s->next = active;
        active = s;
        // Sounds start a fixed time after play(), whenever this thread sees
        // them. A clock that appears to run backwards waits no longer than that.
        const int32_t wait = std::clamp(MIXER_START_DELAY_MS - elapsed_ms(s->queued_ms, now),
                                        0, MIXER_START_DELAY_MS);
        s->start_delay = static_cast<int32_t>(int64_t{wait} * rate / 1000);
    }
}

// Hands a dead sound back to the main thread; false when the free ring has
// no room, in which case it stays listed and is retired on a later pass.
bool mixer::retire(sound* s)
{
    if (free.full())
        return false;
    release_mixsample(s->sample);
    s->sample = nullptr;
    s->next = nullptr;
    free.push(s);
    return true;
}

void mixer::finish(sound* s)
{
    int32_t expected = s->state.load(relaxed);
    const int32_t after = s->auto_release.load(relaxed) == 1 ? SOUND_DEAD : SOUND_STOPPED;
    // A pause or stop set by the main thread meanwhile wins; the next pass sees it.
    if (expected != SOUND_DEAD)
        s->state.compare_exchange_strong(expected, after, relaxed);
}

void mixer::mix_s16(int16_t* destination, int32_t m)
{
    m = (m <= 0 || m > count) ? count : m;
    take_in();
    int32_t* acc = accumulator.get();
    for (sound** link = &active; *link;) {
        sound* s = *link;
        const int32_t r = s->mix_into(acc, m);
        if (r == MIX_DEAD) {
            sound* next = s->next;
            if (retire(s)) {
                *link = next;
                continue;
            }
        } else if (r == MIX_FINISHED) {
            finish(s);
        }
        link = &s->next;
    }
    saturate_block(acc, destination, m);
}

int32_t mixer::active_count() const
{
    int32_t n = 0;
    for (const sound* s = active; s; s = s->next)
        ++n;
    return n;
}

void mixer::retire_all()
{
    sound* s = nullptr;
    while (incoming.pop(s)) {
        s->next = active;
        active = s;
    }
    while (active) {
        s = active;
        active = s->next;
        s->state.store(SOUND_DEAD, relaxed);
        release_mixsample(s->sample);
        s->sample = nullptr;
        s->next = nullptr;
        free.push(s); // a full ring only means this one is not reused
    }
}

void mixer::pull(int16_t* destination, int32_t frames)
{
    const int32_t width = channels > 0 ? channels : 1;
    const int32_t block = count - count % width;
    int32_t left = frames > 0 ? frames * width : 0;
    while (left > 0 && block > 0) {
        const int32_t m = left < block ? left : block;
        mix_s16(destination, m);
        destination += m;
        left -= m;
    }
}

} // namespace vantrel
