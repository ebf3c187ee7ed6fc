// The second WAV reader, tried only after the WAV loader has refused a file:
// it walks every chunk of a RIFF WAVE file, so it takes what recorders and
// editors write and the first loader does not.
//
// It takes chunks of any kind before and after the format chunk (a broadcast
// extension chunk first, lists, cue points), the pad byte after an odd-sized
// chunk, the extensible format header around PCM or floating-point samples,
// and samples of 8, 16, 24 or 32 bits or 32- or 64-bit floats, mono or
// stereo. 8-bit samples load as SAMPLE_MONO8 or SAMPLE_STEREO8, all others as
// SAMPLE_MONO16_LE or SAMPLE_STEREO16_LE: wider integers keep their high 16
// bits, floats are clamped to -1..1 and rounded (NaN is silence).
//
// A data chunk that claims more than the stream holds gives the frames that
// are there, as the first loader does. The null object, on purpose, for: more
// than two channels (no down-mix is guessed), compressed formats, a data chunk
// before the format chunk, a block alignment that does not match the channels
// and sample size, a rate of 0 or above WAV_MAX_HERTZ, and a file without a
// format chunk or without a whole frame of data.
#pragma once

#include "audio/sample_loader.h"

#include <cstdint>

namespace vantrel {

inline constexpr int32_t WAV_MAX_HERTZ = 768000;

class TWavChunkLoader final : public TSampleLoader {
public:
    Ref<TSampleBuffer> load(const Ref<TByteStream>& stream) override;
};

} // namespace vantrel
