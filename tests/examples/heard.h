// What an example played, from SDL's disk audio driver's file: 16-bit
// stereo frames at 44100 Hz, measured one frequency at a time.
#pragma once

#include <string>
#include <vector>

namespace vantrel::test {

struct Channels {
    std::vector<double> left, right;
};

// The file's frames from `first`, at most `count` of them.
Channels read_disk_audio(const std::string& bytes, size_t first, size_t count);

// The amplitude of one frequency in the samples (the Goertzel filter).
double strength(const std::vector<double>& samples, double hertz);

} // namespace vantrel::test
