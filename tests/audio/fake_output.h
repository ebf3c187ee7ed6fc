// A scripted audio output for device tests: the test sets the play cursor,
// whether calls fail and whether the device has gone away, and reads back
// what the device asked of the hardware.
#pragma once

#include "platform/audio_output.h"

#include <atomic>
#include <cstdint>

namespace vantrel::test {

class FakeOutput final : public platform::AudioOutput {
public:
    bool open(int32_t rate_, int32_t channels_, int32_t bits_, const uint8_t* ring_,
              uint32_t ring_bytes_) override
    {
        ++opens;
        if (refuse_open)
            return false;
        rate = rate_;
        channels = channels_;
        bits = bits_;
        ring = ring_;
        ring_bytes = ring_bytes_;
        return true;
    }
    bool submit() override
    {
        ++submits;
        cursor = 0;
        playing = true;
        return !fail_submit;
    }
    void reset() override
    {
        ++resets;
        cursor = 0;
        playing = false;
    }
    bool position(uint32_t& bytes) override
    {
        ++position_reads;
        bytes = cursor.load();
        if (advance_per_read && playing)
            cursor += advance_per_read;
        return !fail_position;
    }
    void set_written(uint32_t bytes) override { written = bytes; }
    void close() override { ++closes; }
    bool lost() override { return gone; }
    bool reopen() override
    {
        ++reopen_attempts;
        if (refuse_reopen)
            return false;
        gone = false;
        cursor = 0;
        playing = false;
        ++reopens;
        return true;
    }

    bool refuse_open = false;
    bool fail_submit = false;
    bool fail_position = false;
    uint32_t advance_per_read = 0; // a cursor that moves on each read
    std::atomic<bool> gone{false};           // the device was unplugged
    std::atomic<bool> refuse_reopen{false};  // and no default output is there yet
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
};

} // namespace vantrel::test
