// Shared set-up for the mixer tests: a 44100 Hz stereo mixer with 512-frame
// blocks, a manual clock, and helpers to build samples and run blocks.
#pragma once

#include "audio/mixer/mixer.h"
#include "audio/mixer/mixsample.h"
#include "platform/manual_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vantrel::test {

struct SampleRef {
    mixsample* p = nullptr;
    SampleRef() = default;
    explicit SampleRef(mixsample* s) : p(s) {}
    SampleRef(const SampleRef&) = delete;
    SampleRef& operator=(const SampleRef&) = delete;
    ~SampleRef() { release_mixsample(p); }
    mixsample* get() const { return p; }
};

class MixerTest : public ::testing::Test {
protected:
    static constexpr int32_t BLOCK = 1024; // values: 512 stereo frames

    MixerTest() : clock(100000), scoped(clock), mix(BLOCK)
    {
        mix.rate = 44100;
        mix.channels = 2;
    }

    // Stereo 16-bit frames given as interleaved values.
    static mixsample* stereo16(const std::vector<int16_t>& values, int32_t hertz, bool loop = false)
    {
        return create_mixsample(static_cast<int32_t>(values.size() / 2), 16, 2, hertz,
                                values.data(), loop ? 1 : 0);
    }
    static mixsample* mono16(const std::vector<int16_t>& values, int32_t hertz, bool loop = false)
    {
        return create_mixsample(static_cast<int32_t>(values.size()), 16, 1, hertz, values.data(),
                                loop ? 1 : 0);
    }

    // Starts a sound that sounds from the first frame of the next block.
    sound* start(mixsample* s, int32_t state = SOUND_PLAYING, int32_t auto_release = 1)
    {
        sound* snd = mix.play(s, nullptr, state, 0, auto_release);
        clock.advance(25);
        return snd;
    }

    std::vector<int16_t> block(int32_t m = 0)
    {
        std::vector<int16_t> out(static_cast<size_t>(m ? m : BLOCK), 12345);
        mix.mix_s16(out.data(), m);
        return out;
    }

    std::vector<int16_t> two_blocks()
    {
        auto out = block();
        const auto more = block();
        out.insert(out.end(), more.begin(), more.end());
        return out;
    }

    platform::ManualClock clock;
    platform::ScopedClock scoped;
    mixer mix;
};

} // namespace vantrel::test
