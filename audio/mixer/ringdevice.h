// ringdevice: the wave-output device. Keeps a looping ring of 32 fragments
// playing through an audio output binding and refills it from the mixer every
// 5 ms. It knows nothing of SDL or any other audio interface: that lives
// behind platform::AudioOutput, so the name says what the device does.
//
// The refill thread reads the play cursor and has the mixer write whole
// fragments straight into the ring until the writer is `latency` fragments
// ahead of the cursor. A writer that falls within two fragments of the cursor
// stops the output, waits 250 ticks and restarts from the top of the ring with
// a longer lead (6, then 8, then 10 fragments). The cursor is reset before it
// passes 2^28 bytes. The binding is SDL in the program and a fake in tests.
//
// An output that goes away (the binding reports it lost, or its cursor stops
// for a second) leaves the device "missing": the refill thread goes on mixing
// at the pace of the clock into a scratch fragment nobody hears, so sounds
// keep their timing and finish, and every second it asks the binding to
// reopen the default output. Once one opens, the ring starts over with the
// lead filled. Nothing of this touches the main thread.
#pragma once

#include "audio/mixer/audiodevice.h"
#include "audio/mixer/mixer.h"
#include "audio/mixer/refill_timer.h"
#include "platform/audio_output.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace vantrel {

constexpr int32_t DEVICE_RATE = 44100;
constexpr int32_t DEVICE_CHANNELS = 2;
constexpr int32_t DEVICE_BITS = 16;
constexpr int32_t DEVICE_FRAGMENT = 1024;   // sample values: 512 stereo frames, 11.6 ms
constexpr int32_t RING_FRAGMENTS = 32;
constexpr int32_t REFILL_PERIOD_MS = 5;
constexpr uint32_t UNDERRUN_GUARD = 2;      // fragments
constexpr int32_t LATENCY_START = 6;        // fragments
constexpr int32_t LATENCY_STEP = 2;
constexpr int32_t LATENCY_RAISE_MAX = 9;    // raised only while at most this
constexpr int32_t RESTART_WAIT_TICKS = 250;
constexpr uint32_t POSITION_LIMIT = 268435456; // bytes
constexpr int32_t STALL_TICKS = 200;        // an unmoving cursor this long: the output is gone
constexpr int32_t REOPEN_RETRY_TICKS = 200; // between attempts to reopen a missing output
constexpr int32_t MISSING_MAX_BEHIND = 8;   // fragments the scratch mixing may owe before it skips

class ringdevice final : public audiodevice {
public:
    // `threaded` false leaves the refill to the caller (tests drive it).
    explicit ringdevice(Ref<platform::AudioOutput> wave_out, bool threaded = true);
    ~ringdevice() override;

    int32_t init() override;
    void close() override;

    // 0 on success, 1 when the binding refuses the format or has no output.
    int32_t open(int32_t rate, int32_t channels, int32_t bits, int32_t fragment);

    // Starts `sample`: looping when the sample loops, paused when asked.
    sound* play(mixsample* sample, output* parent, int32_t paused, uint32_t handle = 0,
                int32_t auto_release = 0);

    // One tick of the refill thread.
    void refill();

    vantrel::mixer* get_mixer() const { return mixer_.get(); }
    int32_t fragment() const { return fragment_; }
    bool threaded() const { return threaded_; }
    uint32_t write_pos() const { return write_pos_; }
    int32_t restart_countdown() const { return restart_countdown_; }
    int32_t latency() const { return latency_; }
    const int16_t* ring() const { return ring_.get(); }
    bool is_running() const { return running_.load(std::memory_order_acquire) != 0; }
    // Underruns since init; safe to read from any thread.
    int32_t underruns() const { return underruns_.load(std::memory_order_relaxed); }
    // Whether the output has gone away and not come back yet.
    bool is_missing() const { return missing_.load(std::memory_order_acquire); }
    // Times the output went away and came back since init; any thread.
    int32_t losses() const { return losses_.load(std::memory_order_relaxed); }
    int32_t reopens() const { return reopens_.load(std::memory_order_relaxed); }

private:
    static void tick(void* self);
    void submit_ring();
    void clear_ring();
    void restart_ring();
    void fill_to(uint32_t target);
    void recover_underrun();
    void publish_written();
    bool stalled(uint32_t bytes);
    void enter_missing();
    void refill_missing();
    void mix_unheard();
    bool try_reopen();

    std::unique_ptr<vantrel::mixer> mixer_;
    Ref<platform::AudioOutput> wave_out_;
    bool open_ = false;
    const bool threaded_;
    int32_t fragment_ = DEVICE_FRAGMENT;
    int32_t sample_bytes_ = 2;
    std::unique_ptr<int16_t[]> ring_;
    int32_t format16_ = 0;
    std::atomic<int32_t> running_{0};
    std::atomic<int32_t> underruns_{0};
    uint32_t write_pos_ = 0;       // refill thread once running
    int32_t restart_countdown_ = 0;
    int32_t latency_ = LATENCY_START;
    std::atomic<int32_t> losses_{0};
    std::atomic<int32_t> reopens_{0};
    // Refill thread only, once running.
    std::atomic<bool> missing_{false};
    uint32_t last_cursor_ = 0;
    int32_t still_ticks_ = 0;       // ticks the cursor has not moved
    int32_t failed_reads_ = 0;      // cursor reads failed in a row
    int32_t reopen_countdown_ = 0;
    int32_t ticks_open_ = 0;        // ticks since the output last (re)opened
    int32_t missing_since_ms_ = 0;
    uint64_t missing_mixed_ = 0;    // sample values mixed unheard since then
    std::unique_ptr<int16_t[]> scratch_;
    refill_timer timer_;
};

} // namespace vantrel
