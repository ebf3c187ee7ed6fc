// The Ogg Vorbis sample loader, over libvorbisfile.
//
// Mono streams load as SAMPLE_MONO16_LE, stereo ones as SAMPLE_STEREO16_LE,
// at the stream's own rate. Chained streams load whole when every link has
// the same channel count and rate.
//
// Data that is not Ogg Vorbis gives the null object, and so does a stream
// with more than two channels or whose links differ, one that holds no
// frames, and, when the stream can tell its size, one that stops before its
// final page or whose pages do not all decode. So does one that would
// decode to more than OGG_MAX_BYTES, or to more than OGG_BYTES_PER_INPUT_BYTE
// for each byte it holds. Memory grows with what is decoded, never with what
// a header claims. An error raised by the stream itself is raised again once
// libvorbisfile has been cleaned up. Any thread may decode; decodes share
// nothing.
//
// Where a sound may be decoded as it plays (deferred_loader.h), the loader
// gives the streamed reader of the same data instead, once the file is
// whole, its links alike and its length within the same limits. Damage
// inside the data then shows only as it plays: from there on the sound is
// silent, for the length its pages gave at open.
#pragma once

#include "audio/deferred_loader.h"
#include "audio/sample_loader.h"

#include <cstdint>

namespace vantrel {

// About 25 minutes of 44.1 kHz stereo.
inline constexpr int64_t OGG_MAX_BYTES = int64_t{256} << 20;
// Ordinary music decodes to about 11 bytes per byte of Vorbis; near-silence
// to a few hundred.
inline constexpr int64_t OGG_BYTES_PER_INPUT_BYTE = 4096;

class TOggLoader final : public TSampleLoader, public deferred_loader {
public:
    Ref<TSampleBuffer> load(const Ref<TByteStream>& stream) override;
    std::unique_ptr<stream_reader> open_deferred(const Ref<TByteStream>& stream) override;
};

} // namespace vantrel
