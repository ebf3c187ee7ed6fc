// The decoder of streamed sounds: one thread that keeps the chunk ring of
// every playing stream filled, so neither the main thread nor the mixing
// thread ever waits on a file or on Vorbis.
//
// It ticks on a refill_timer of its own rather than inside the device's
// refill: a slow disk or a long decode then delays only the decoder, and the
// mixer meanwhile plays what is in the rings, or silence. Each tick takes in
// the jobs the main thread started (a lock-free ring), fills every spent
// chunk of every job, and frees the jobs whose sound has let go of its
// stream. A job whose data ends, is cut short or cannot be read ends its
// stream; a looping job starts its reader again at the first frame and goes
// on in the same chunk, so the loop has no seam.
//
// Without a thread (a host that pulls its sound) step() is called by hand;
// pull_audio does it.
#pragma once

#include "audio/mixer/mixstream.h"
#include "audio/mixer/refill_timer.h"
#include "audio/mixer/spsc_ring.h"
#include "audio/stream_reader.h"
#include "core/object.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vantrel {

constexpr int32_t DECODER_PERIOD_MS = 5;
constexpr uint32_t DECODER_JOB_SLOTS = 256;

// One playing stream: its reader, the ring it fills, and the fill state.
struct stream_job {
    // `reader` null: the decoder opens `location` itself, and ends the stream
    // when that gives another format.
    stream_job(std::unique_ptr<stream_reader> reader, Ref<TObject> location, int32_t format,
               bool loop, int32_t chunk_frames = STREAM_CHUNK_FRAMES);

    std::unique_ptr<stream_reader> reader;
    const Ref<TObject> location;
    const int32_t format;
    const bool loop;
    mixstream stream;

    // Decoder side only.
    stream_chunk* chunk = nullptr; // being filled
    int32_t filled = 0;            // frames in it, the guard slot counted
    std::vector<uint8_t> carry;    // the last chunk's guard frame: the next one's first
    bool have_carry = false;
    int64_t pass_frames = 0;       // frames read since the reader last started
    bool ended = false;
};

class stream_decoder {
public:
    explicit stream_decoder(bool threaded);
    ~stream_decoder();
    stream_decoder(const stream_decoder&) = delete;
    stream_decoder& operator=(const stream_decoder&) = delete;

    // Main thread: hands `job` over (it is then the decoder's). False, and
    // the job left with the caller, when too many wait to be taken in.
    bool add(std::unique_ptr<stream_job>& job);

    // The decoder's thread, or the caller when there is none.
    void step();
    // Decoder side: the jobs it holds.
    size_t job_count() const { return jobs_.size(); }
    bool threaded() const { return threaded_; }

private:
    static void tick(void* self);

    const bool threaded_;
    spsc_ring<stream_job*, DECODER_JOB_SLOTS> incoming_;
    std::vector<std::unique_ptr<stream_job>> jobs_;
    refill_timer timer_;
};

// Decoder side: fills what it can of the job's ring.
void fill_stream(stream_job& job);

} // namespace vantrel
