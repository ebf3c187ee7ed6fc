// mixsample: the PCM frames of one loaded sound, in the layout the mixer reads.
//
// A plain record with a hand-kept reference count: the sound asset that made
// it holds one reference and every playing sound another, so the frames stay
// valid on the mixing thread until the last sound that reads them is retired.
// One guard frame follows the last frame so that interpolation at the end
// always has a neighbour to read. A streamed sample holds no frames of its
// own: they arrive in the chunks of its mixstream while it plays. A sample
// decoded as it plays has all its frames' memory from the start and its
// length known; the mixer has its mixfill decode them, in order, before it
// first reads them.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace vantrel {

class mixstream;

// The source of a sample decoded as it plays; used by the mixing thread only.
class mixfill {
public:
    virtual ~mixfill() = default;
    // Up to `frames` of the next frames into `out`: how many came (at least 1),
    // or 0 or less when no more will.
    virtual int32_t read(uint8_t* out, int32_t frames) = 0;
};

struct mixsample {
    int32_t hertz = 0;
    int32_t channels = 0;        // 1 or 2
    int32_t bits = 0;            // 8 (unsigned) or 16 (signed little-endian)
    int32_t frames = 0;
    int32_t bytes_per_frame = 0; // channels * max(bits, 8) / 8
    uint32_t size = 0;           // frames * bytes_per_frame
    std::atomic<int32_t> refcount{1};
    int32_t loop = 0;            // non-zero: sounds started on it loop
    std::unique_ptr<uint8_t[]> storage;
    uint8_t* data = nullptr;     // size + bytes_per_frame bytes: frames, then the guard frame
    mixstream* stream = nullptr; // a streamed sample's frames; detached at the last release
    std::unique_ptr<mixfill> fill; // frames still to decode; null once all are there
    int32_t ready = 0;             // frames decoded, while `fill` is set
};

// A new sample holding one reference, with `frames` frames copied from
// `frame_data`, or silent frames when `frame_data` is null. nullptr for a
// layout the mixer cannot play (channels other than 1 or 2, bits other than 8
// or 16, a negative frame count, or more frames than a position can index).
mixsample* create_mixsample(int32_t frames, int32_t bits, int32_t channels, int32_t hertz,
                            const void* frame_data, int32_t loop);

// A new sample holding one reference whose `frames` frames `fill` decodes as
// they are first mixed (fill_mixsample); silent until then. nullptr as for
// create_mixsample, or without a fill.
mixsample* create_filled_mixsample(int32_t frames, int32_t bits, int32_t channels, int32_t hertz,
                                   std::unique_ptr<mixfill> fill, int32_t loop);

// Decodes a filled sample's frames up to `frames` (all of them at most); a
// fill that stops early leaves the rest silent. Once all are there the fill
// is dropped and the guard frame written. Nothing for any other sample.
void fill_mixsample(mixsample& sample, int64_t frames);

// A new streamed sample holding one reference, reading its frames from
// `stream` (which the decoder owns). nullptr for a layout the mixer cannot
// play or a stream whose frames are of another size.
mixsample* create_stream_mixsample(int32_t bits, int32_t channels, int32_t hertz, int32_t loop,
                                   mixstream* stream);

// Drops one reference; the last one frees the frames and the record. Either
// thread may drop a reference. nullptr is ignored.
void release_mixsample(mixsample* sample);

// Adds one reference.
void retain_mixsample(mixsample* sample);

} // namespace vantrel
