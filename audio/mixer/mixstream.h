// mixstream: the decoded frames of one streamed sound, handed from the
// decoder to the mixing thread in a bounded ring of chunks.
//
// Every chunk holds a run of frames and, after them, a guard frame that is
// the first frame of the next chunk (or a copy of the last frame where the
// stream ends), so interpolation across a chunk boundary reads the same
// neighbour as it would in one whole sample. Two single-producer
// single-consumer rings carry the chunks: filled ones to the mixing thread,
// spent ones back; neither side ever waits. A mixing thread that finds no
// filled chunk plays silence for the rest of the block and keeps its place.
//
// The decoder owns the mixstream and frees it, with its chunks, only after
// the mixing side has let go (detach), so neither side frees what the other
// may still read.
#pragma once

#include "audio/mixer/spsc_ring.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace vantrel {

constexpr int32_t STREAM_CHUNK_FRAMES = 4096;
constexpr int32_t STREAM_CHUNKS = 8;
constexpr uint32_t STREAM_RING_SLOTS = 16; // above STREAM_CHUNKS: a ring keeps one slot empty

struct stream_chunk {
    int32_t frames = 0; // before the guard frame
    uint8_t* data = nullptr;
};

class mixstream {
public:
    // `chunk_frames` frames of `bytes_per_frame` bytes in each of `chunks`
    // chunks (at most STREAM_RING_SLOTS - 1), all empty at first.
    mixstream(int32_t bytes_per_frame, int32_t chunk_frames = STREAM_CHUNK_FRAMES,
              int32_t chunks = STREAM_CHUNKS);
    ~mixstream();
    mixstream(const mixstream&) = delete;
    mixstream& operator=(const mixstream&) = delete;

    // Decoder side.
    stream_chunk* take_empty();     // nullptr while every chunk is filled
    void publish(stream_chunk* c);  // c->frames set, guard frame written
    void end();                     // nothing more comes after what was published
    bool detached() const { return detached_.load(std::memory_order_acquire); }

    // Mixing side.
    stream_chunk* front();          // the chunk being played, or nullptr for none yet
    void recycle();                 // done with front()
    bool exhausted();               // ended, and every published chunk played
    void detach();                  // the mixing side lets go for good

    int32_t bytes_per_frame() const { return bytes_per_frame_; }
    int32_t chunk_frames() const { return chunk_frames_; }
    size_t bytes() const { return storage_bytes_; }

private:
    const int32_t bytes_per_frame_;
    const int32_t chunk_frames_;
    size_t storage_bytes_ = 0;
    std::unique_ptr<uint8_t[]> storage_;
    std::vector<stream_chunk> chunks_;
    spsc_ring<stream_chunk*, STREAM_RING_SLOTS> filled_;
    spsc_ring<stream_chunk*, STREAM_RING_SLOTS> spent_;
    stream_chunk* current_ = nullptr; // mixing thread only
    std::atomic<bool> ended_{false};
    std::atomic<bool> detached_{false};
};

// Bytes of decoded frames held by every mixstream alive, and the most held
// at once since the last reset; any thread.
size_t mixstream_bytes();
size_t mixstream_peak_bytes();
void reset_mixstream_peak();

} // namespace vantrel
