// The audio output binding: a looping ring of PCM that a sound card plays.
//
// The binding plays a ring that its caller owns and fills, over and over, and
// counts the bytes it has played since the ring was last started. That is all
// the output device needs of the hardware: submit (start from byte 0), reset
// (stop at once, rewind, play silence), and the byte cursor. The writer also
// tells the binding how far the ring holds fresh data (`set_written`); the
// binding plays silence beyond that mark instead of reading memory the writer
// may be filling, so the two threads never touch the same bytes at once.
#pragma once

#include "core/object.h"

#include <cstdint>

namespace vantrel::platform {

class AudioOutput : public TObject {
public:
    // Opens the default output for `ring_bytes` of `ring` at the given format,
    // paused. false when there is no output or the format is refused.
    virtual bool open(int32_t rate, int32_t channels, int32_t bits, const uint8_t* ring,
                      uint32_t ring_bytes) = 0;
    // Starts looping the ring from its beginning. false when that failed.
    virtual bool submit() = 0;
    // Stops at once and rewinds the cursor to 0; plays silence until the next
    // submit. When it returns, the ring is no longer being read.
    virtual void reset() = 0;
    // Bytes played since the last submit. false when unavailable.
    virtual bool position(uint32_t& bytes) = 0;
    // The ring holds data up to `bytes` (counted like the cursor).
    virtual void set_written(uint32_t bytes) = 0;
    // Stops and releases the output; open may be called again afterwards.
    virtual void close() = 0;
    // Whether the open device has gone away.
    virtual bool lost() = 0;
    // Releases the device and opens the default output again, paused, with
    // the last open's format and ring. false while there is none; the binding
    // then stays open in name, so reopen can be tried again.
    virtual bool reopen() = 0;
};

// Called on the output's own thread with each buffer handed to the sound card.
using AudioTap = void (*)(void* user, const uint8_t* bytes, uint32_t count);

// A new output on the default device of the platform backend registered at
// start-up (the graphics backend's init does it); null when none is.
Ref<AudioOutput> create_audio_output();

} // namespace vantrel::platform
