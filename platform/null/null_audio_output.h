// An audio output without a sound card: it plays the ring nowhere.
//
// Its cursor is either scripted (the test sets `cursor`, or lets each read
// move it by `advance_per_read`) or, with `virtual_rate` on, moves on by
// itself at the opened format's byte rate as the installed clock
// (platform/clock_source.h) advances, as a sound card would consume the ring. It
// counts what the device asked of it, and can be told to fail each step or
// to have gone away, so device logic can be driven without hardware. The
// counters that the refill thread touches are atomic.
#pragma once

#include "platform/audio_output.h"

#include <atomic>
#include <cstdint>

namespace vantrel::platform {

class NullAudioOutput final : public AudioOutput {
public:
    bool open(int32_t rate, int32_t channels, int32_t bits, const uint8_t* ring,
              uint32_t ring_bytes) override;
    bool submit() override;
    void reset() override;
    bool position(uint32_t& bytes) override;
    void set_written(uint32_t bytes) override { written = bytes; }
    void close() override { ++closes; }
    bool lost() override { return gone; }
    bool reopen() override;

    // Bytes per second of the opened format.
    uint32_t byte_rate() const;

    bool virtual_rate = false; // the cursor follows the clock while playing
    bool refuse_open = false;
    bool fail_submit = false;
    bool fail_position = false;
    uint32_t advance_per_read = 0;          // a cursor that moves on each read
    std::atomic<bool> gone{false};          // the device was unplugged
    std::atomic<bool> refuse_reopen{false}; // and no default output is there yet
    std::atomic<int> reopen_attempts{0};
    std::atomic<int> reopens{0};
    std::atomic<uint32_t> cursor{0};
    std::atomic<uint32_t> written{0};
    std::atomic<bool> playing{false};
    int opens = 0, submits = 0, resets = 0, closes = 0;
    std::atomic<int> position_reads{0};
    int32_t rate = 0, channels = 0, bits = 0;
    const uint8_t* ring = nullptr;
    uint32_t ring_bytes = 0;

private:
    std::atomic<uint32_t> started_ms_{0}; // clock reading at the last submit
};

} // namespace vantrel::platform
