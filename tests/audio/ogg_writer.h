// Writes Ogg Vorbis files in memory with libvorbisenc, for the loader tests
// and the timing programs.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vantrel::test {

// An encoder fed a run of frames at a time, for files too long to hold
// as PCM; its pages go to `out`.
class OggEncoder {
public:
    OggEncoder(int channels, long hertz, float quality, std::vector<uint8_t>& out);
    ~OggEncoder();
    OggEncoder(const OggEncoder&) = delete;
    OggEncoder& operator=(const OggEncoder&) = delete;

    // `count` interleaved frames.
    void write(const int16_t* frames, size_t count);
    // Ends the stream; nothing may be written after.
    void finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Interleaved 16-bit frames of `channels` channels at `hertz`, encoded at
// the given quality (-0.1 to 1). Each call gives a stream of its own serial
// number, so two results can be chained by appending one to the other.
std::vector<uint8_t> encode_ogg(const std::vector<int16_t>& frames, int channels, long hertz,
                                float quality = 0.5f);

// A sine of `hertz_tone` on every channel (a different phase per channel),
// at three quarters of full scale.
std::vector<int16_t> sine_frames(int32_t frames, int channels, long hertz, double tone);

// Those frames encoded at the default quality.
std::vector<uint8_t> ogg_tone(int32_t frames, int channels, long hertz, double tone = 440);

} // namespace vantrel::test
