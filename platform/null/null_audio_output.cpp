// NullAudioOutput: the bookkeeping of an output that plays nowhere.
#include "platform/null/null_audio_output.h"

#include "platform/clock_source.h"

namespace vantrel::platform {

bool NullAudioOutput::open(int32_t rate_, int32_t channels_, int32_t bits_, const uint8_t* ring_,
                           uint32_t ring_bytes_)
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

bool NullAudioOutput::submit()
{
    ++submits;
    cursor = 0;
    started_ms_ = clock_source().now_ms();
    playing = true;
    return !fail_submit;
}

void NullAudioOutput::reset()
{
    ++resets;
    cursor = 0;
    playing = false;
}

uint32_t NullAudioOutput::byte_rate() const
{
    const int64_t r = int64_t{rate} * channels * (bits / 8);
    return r > 0 ? static_cast<uint32_t>(r) : 0;
}

bool NullAudioOutput::position(uint32_t& bytes)
{
    ++position_reads;
    if (virtual_rate && playing) {
        // Wrap-safe: the clock counts 32-bit milliseconds.
        const uint32_t ms = clock_source().now_ms() - started_ms_.load();
        cursor = static_cast<uint32_t>(uint64_t{ms} * byte_rate() / 1000);
    }
    bytes = cursor.load();
    if (advance_per_read && playing)
        cursor += advance_per_read;
    return !fail_position;
}

bool NullAudioOutput::reopen()
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

} // namespace vantrel::platform
