// The output device's logic: opening, the refill tick with its underrun and
// position-limit rules, and closing.
#include "audio/mixer/ringdevice.h"

#include "audio/mixer/mixsample.h"
#include "input/clock.h"

#include <cstdio>
#include <cstring>

namespace vantrel {

ringdevice::ringdevice(Ref<platform::AudioOutput> wave_out, bool threaded)
    : wave_out_(std::move(wave_out)), threaded_(threaded)
{
}

ringdevice::~ringdevice() { close(); }

int32_t ringdevice::init()
{
    // A second init would replace the mixer under the refill thread.
    if (open_)
        return 0;
    // Every platform this runs on gets the short fragments.
    fragment_ = DEVICE_FRAGMENT;
    mixer_ = std::make_unique<vantrel::mixer>(fragment_);
    write_pos_ = 0;
    restart_countdown_ = 0;
    running_.store(0);
    underruns_.store(0);
    return open(DEVICE_RATE, DEVICE_CHANNELS, DEVICE_BITS, fragment_);
}

int32_t ringdevice::open(int32_t rate, int32_t channels, int32_t bits, int32_t fragment)
{
    // The ring holds the mixer's blocks, which are 16-bit.
    if (!mixer_ || !wave_out_ || open_ || bits != 16 || fragment != mixer_->count || fragment <= 0)
        return 1;
    format16_ = 1;
    sample_bytes_ = 2;
    const auto values = static_cast<size_t>(fragment) * RING_FRAGMENTS;
    ring_ = std::make_unique<int16_t[]>(values);
    if (!wave_out_->open(rate, channels, bits, reinterpret_cast<const uint8_t*>(ring_.get()),
                         static_cast<uint32_t>(values * sizeof(int16_t)))) {
        ring_.reset();
        return 1;
    }
    open_ = true;
    fragment_ = fragment;
    mixer_->rate = rate;
    mixer_->channels = channels;
    restart_countdown_ = 0;
    latency_ = LATENCY_START;
    write_pos_ = 0;
    scratch_ = std::make_unique<int16_t[]>(static_cast<size_t>(fragment));
    missing_.store(false);
    last_cursor_ = 0;
    still_ticks_ = 0;
    failed_reads_ = 0;
    ticks_open_ = 0;
    running_.store(1, std::memory_order_release);
    refill();
    submit_ring();
    // Started last, so that the first refill above never overlaps a tick.
    if (threaded_)
        timer_.start(&ringdevice::tick, this, REFILL_PERIOD_MS);
    return 0;
}

sound* ringdevice::play(mixsample* sample, output* parent, int32_t paused, uint32_t handle,
                       int32_t auto_release)
{
    if (!mixer_ || !sample)
        return nullptr;
    int32_t state = sample->loop ? SOUND_LOOPING : SOUND_PLAYING;
    if (paused)
        state |= SOUND_PAUSED;
    return mixer_->play(sample, parent, state, handle, auto_release);
}

void ringdevice::tick(void* self) { static_cast<ringdevice*>(self)->refill(); }

void ringdevice::submit_ring()
{
    if (!wave_out_->submit())
        std::puts("waveOutWrite error");
}

void ringdevice::clear_ring()
{
    std::memset(ring_.get(), 0, static_cast<size_t>(fragment_) * RING_FRAGMENTS * sizeof(int16_t));
}

void ringdevice::publish_written()
{
    wave_out_->set_written(write_pos_ * static_cast<uint32_t>(sample_bytes_));
}

// The cursor cannot be trusted (or has reached the position limit): start
// the ring over, with the lead filled again before it plays. Left empty, the
// very next tick would find the writer behind the cursor and take the
// underrun path, a second and a quarter of silence every 25 minutes of play.
void ringdevice::restart_ring()
{
    wave_out_->reset();
    clear_ring();
    write_pos_ = 0;
    fill_to(static_cast<uint32_t>(latency_ * fragment_));
    submit_ring();
}

void ringdevice::fill_to(uint32_t target)
{
    const auto frag = static_cast<uint32_t>(fragment_);
    while (write_pos_ < target) {
        const uint32_t slot = (write_pos_ / frag) % RING_FRAGMENTS;
        mixer_->mix_s16(ring_.get() + slot * frag, 0);
        write_pos_ += frag;
    }
    publish_written();
}

// The output is stopped before the ring is cleared, so the cleared bytes are
// never being played at the same time.
void ringdevice::recover_underrun()
{
    wave_out_->reset();
    clear_ring();
    underruns_.fetch_add(1, std::memory_order_relaxed);
    restart_countdown_ = RESTART_WAIT_TICKS;
    if (latency_ <= LATENCY_RAISE_MAX)
        latency_ += LATENCY_STEP;
    write_pos_ = static_cast<uint32_t>(latency_ * fragment_ * 2);
    publish_written();
}

// A cursor that has not moved for STALL_TICKS while the ring plays: the
// output no longer consumes.
bool ringdevice::stalled(uint32_t bytes)
{
    if (bytes != last_cursor_) {
        last_cursor_ = bytes;
        still_ticks_ = 0;
        return false;
    }
    return ++still_ticks_ >= STALL_TICKS;
}

void ringdevice::enter_missing()
{
    wave_out_->reset();
    clear_ring();
    restart_countdown_ = 0;
    write_pos_ = 0;
    publish_written();
    missing_since_ms_ = clock_ms();
    missing_mixed_ = 0;
    // The first attempt right away (another default output may be there),
    // unless this output was only just opened: one that fails at once would
    // otherwise be opened and lost over and over.
    reopen_countdown_ = ticks_open_ < REOPEN_RETRY_TICKS ? REOPEN_RETRY_TICKS : 0;
    losses_.fetch_add(1, std::memory_order_relaxed);
    missing_.store(true, std::memory_order_release);
}

// Mixes, into a fragment nobody hears, what the clock says would have played
// since the output went away; a backlog (this thread held up) is dropped
// rather than caught up in a burst.
void ringdevice::mix_unheard()
{
    const auto elapsed = static_cast<uint32_t>(clock_ms() - missing_since_ms_);
    const uint64_t due = static_cast<uint64_t>(elapsed) *
                         static_cast<uint64_t>(mixer_->rate * mixer_->channels) / 1000;
    const auto frag = static_cast<uint64_t>(fragment_);
    if (due > missing_mixed_ + MISSING_MAX_BEHIND * frag)
        missing_mixed_ = due - due % frag - frag;
    while (missing_mixed_ + frag <= due) {
        mixer_->mix_s16(scratch_.get(), 0);
        missing_mixed_ += frag;
    }
    // Counted from a recent minute, so that the clock's 32-bit difference
    // never wraps however long the output stays away.
    const auto per_minute = static_cast<uint64_t>(mixer_->rate * mixer_->channels) * 60;
    if (missing_mixed_ >= per_minute) {
        missing_since_ms_ += 60000;
        missing_mixed_ -= per_minute;
    }
}

bool ringdevice::try_reopen()
{
    if (!wave_out_->reopen())
        return false;
    clear_ring();
    write_pos_ = 0;
    last_cursor_ = 0;
    still_ticks_ = 0;
    failed_reads_ = 0;
    ticks_open_ = 0;
    fill_to(static_cast<uint32_t>(latency_ * fragment_));
    submit_ring();
    reopens_.fetch_add(1, std::memory_order_relaxed);
    missing_.store(false, std::memory_order_release);
    return true;
}

void ringdevice::refill_missing()
{
    if (--reopen_countdown_ <= 0) {
        reopen_countdown_ = REOPEN_RETRY_TICKS;
        if (try_reopen())
            return;
    }
    mix_unheard();
}

void ringdevice::refill()
{
    if (!running_.load(std::memory_order_acquire))
        return;
    if (missing_.load(std::memory_order_relaxed)) {
        refill_missing();
        return;
    }
    if (ticks_open_ < REOPEN_RETRY_TICKS)
        ++ticks_open_;
    if (wave_out_->lost()) {
        enter_missing();
        return;
    }
    if (restart_countdown_ != 0) {
        if (--restart_countdown_ != 0)
            return;
        submit_ring();
    }
    uint32_t bytes = 0;
    const bool readable = wave_out_->position(bytes);
    // Once is a glitch that a restart mends; again right after it, the
    // output is gone.
    failed_reads_ = readable ? 0 : failed_reads_ + 1;
    if (failed_reads_ >= 2) {
        enter_missing();
        return;
    }
    if (!readable || bytes > POSITION_LIMIT) {
        restart_ring();
        return;
    }
    if (stalled(bytes)) {
        enter_missing();
        return;
    }
    const uint32_t play = bytes / static_cast<uint32_t>(sample_bytes_);
    const auto frag = static_cast<uint32_t>(fragment_);
    if (play != 0 && play + UNDERRUN_GUARD * frag > write_pos_) {
        recover_underrun();
        return;
    }
    const uint32_t target = play + static_cast<uint32_t>(latency_) * frag;
    if (write_pos_ < target)
        fill_to(target);
}

void ringdevice::close()
{
    running_.store(0, std::memory_order_release);
    timer_.stop();
    if (mixer_)
        mixer_->retire_all();
    if (open_) {
        wave_out_->reset();
        wave_out_->close();
        ring_.reset();
        scratch_.reset();
        open_ = false;
        missing_.store(false);
    }
}

} // namespace vantrel
