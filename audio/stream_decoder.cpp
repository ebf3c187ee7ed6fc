// Filling the chunk rings of streamed sounds.
#include "audio/stream_decoder.h"

#include <algorithm>
#include <cstring>

namespace vantrel {
namespace {

uint8_t* frame_at(const stream_job& job, int32_t i)
{
    return job.chunk->data + static_cast<size_t>(i) * static_cast<size_t>(job.stream.bytes_per_frame());
}

// The chunk is full, its guard frame included: hand it over and keep the
// guard, which is the next chunk's first frame.
void publish_full(stream_job& job)
{
    const int32_t frames = job.stream.chunk_frames();
    std::memcpy(job.carry.data(), frame_at(job, frames), job.carry.size());
    job.have_carry = true;
    job.chunk->frames = frames;
    job.stream.publish(job.chunk);
    job.chunk = nullptr;
}

// No more frames: the last chunk gets a copy of its last frame as its guard,
// as a one-shot sample does.
void end_stream(stream_job& job)
{
    if (job.chunk && job.filled > 0) {
        std::memcpy(frame_at(job, job.filled), frame_at(job, job.filled - 1), job.carry.size());
        job.chunk->frames = job.filled;
        job.stream.publish(job.chunk);
    }
    job.chunk = nullptr;
    job.ended = true;
    job.reader.reset();
    job.stream.end();
}

bool open_reader(stream_job& job)
{
    if (job.reader)
        return true;
    try {
        job.reader = open_stream_reader(job.location);
    } catch (...) {
        job.reader.reset(); // gone, or no longer what it was
    }
    if (job.reader && job.reader->format != job.format)
        job.reader.reset();
    return job.reader != nullptr;
}

bool take_chunk(stream_job& job)
{
    if (job.chunk)
        return true;
    job.chunk = job.stream.take_empty();
    if (!job.chunk)
        return false;
    job.filled = 0;
    if (job.have_carry) {
        std::memcpy(job.chunk->data, job.carry.data(), job.carry.size());
        job.filled = 1;
    }
    return true;
}

} // namespace

stream_job::stream_job(std::unique_ptr<stream_reader> first, Ref<TObject> where, int32_t fmt,
                       bool looping, int32_t chunk_frames)
    : reader(std::move(first)), location(std::move(where)), format(fmt), loop(looping),
      stream(sample_frame_bytes(fmt), chunk_frames), carry(static_cast<size_t>(stream.bytes_per_frame()))
{
}

void fill_stream(stream_job& job)
{
    if (job.ended)
        return;
    if (!open_reader(job)) {
        end_stream(job);
        return;
    }
    const int32_t room = job.stream.chunk_frames() + 1;
    while (take_chunk(job)) {
        const int32_t n = job.reader->read(frame_at(job, job.filled), room - job.filled);
        if (n > 0) {
            job.filled += n;
            job.pass_frames += n;
            if (job.filled == room)
                publish_full(job);
            continue;
        }
        // A clean end starts a loop again; a cut or a failure ends it.
        if (n == 0 && job.loop && job.pass_frames > 0 && job.reader->rewind()) {
            job.pass_frames = 0;
            continue;
        }
        end_stream(job);
        return;
    }
}

stream_decoder::stream_decoder(bool threaded) : threaded_(threaded)
{
    if (threaded_)
        timer_.start(&stream_decoder::tick, this, DECODER_PERIOD_MS);
}

stream_decoder::~stream_decoder()
{
    timer_.stop();
    stream_job* job = nullptr;
    while (incoming_.pop(job))
        jobs_.emplace_back(job);
}

void stream_decoder::tick(void* self) { static_cast<stream_decoder*>(self)->step(); }

bool stream_decoder::add(std::unique_ptr<stream_job>& job)
{
    if (!job || !incoming_.push(job.get()))
        return false;
    job.release();
    return true;
}

void stream_decoder::step()
{
    stream_job* job = nullptr;
    while (incoming_.pop(job))
        jobs_.emplace_back(job);
    // A job goes only once its sound has let go: until then the mixing
    // thread may read its chunks.
    std::erase_if(jobs_, [](const std::unique_ptr<stream_job>& j) { return j->stream.detached(); });
    for (const auto& j : jobs_)
        fill_stream(*j);
}

} // namespace vantrel
