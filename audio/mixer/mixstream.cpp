// The chunk ring of a streamed sound, and the count of its bytes.
#include "audio/mixer/mixstream.h"

#include <algorithm>

namespace vantrel {
namespace {

std::atomic<size_t> live_bytes{0};
std::atomic<size_t> peak_bytes{0};

void count_in(size_t bytes)
{
    const size_t now = live_bytes.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    size_t peak = peak_bytes.load(std::memory_order_relaxed);
    while (now > peak && !peak_bytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

} // namespace

mixstream::mixstream(int32_t bytes_per_frame, int32_t chunk_frames, int32_t chunks)
    : bytes_per_frame_(std::max(bytes_per_frame, 1)), chunk_frames_(std::max(chunk_frames, 1))
{
    const int32_t count = std::clamp<int32_t>(chunks, 1, static_cast<int32_t>(STREAM_RING_SLOTS) - 1);
    const size_t chunk_bytes = static_cast<size_t>(chunk_frames_ + 1) * static_cast<size_t>(bytes_per_frame_);
    storage_bytes_ = chunk_bytes * static_cast<size_t>(count);
    storage_ = std::make_unique_for_overwrite<uint8_t[]>(storage_bytes_);
    chunks_.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        chunks_[static_cast<size_t>(i)].data = storage_.get() + chunk_bytes * static_cast<size_t>(i);
        spent_.push(&chunks_[static_cast<size_t>(i)]);
    }
    count_in(storage_bytes_);
}

mixstream::~mixstream() { live_bytes.fetch_sub(storage_bytes_, std::memory_order_relaxed); }

stream_chunk* mixstream::take_empty()
{
    stream_chunk* c = nullptr;
    return spent_.pop(c) ? c : nullptr;
}

void mixstream::publish(stream_chunk* c) { filled_.push(c); }

void mixstream::end() { ended_.store(true, std::memory_order_release); }

stream_chunk* mixstream::front()
{
    if (!current_)
        filled_.pop(current_);
    return current_;
}

void mixstream::recycle()
{
    if (current_)
        spent_.push(current_);
    current_ = nullptr;
}

bool mixstream::exhausted()
{
    // The decoder publishes its last chunk before it ends the stream.
    return ended_.load(std::memory_order_acquire) && !front();
}

void mixstream::detach() { detached_.store(true, std::memory_order_release); }

size_t mixstream_bytes() { return live_bytes.load(std::memory_order_relaxed); }
size_t mixstream_peak_bytes() { return peak_bytes.load(std::memory_order_relaxed); }
void reset_mixstream_peak() { peak_bytes.store(mixstream_bytes(), std::memory_order_relaxed); }

} // namespace vantrel
