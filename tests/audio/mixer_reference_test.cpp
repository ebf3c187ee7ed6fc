// The mixer against a plain, frame-by-frame model of its arithmetic: random
// sample layouts, rates, volumes, pans, surrounds and setting changes between
// blocks must give the same 16-bit output value for value, whichever inner
// loop the mixer picks.
#include "mixer_fixture.h"

#include <algorithm>
#include <limits>
#include <random>

namespace vantrel::test {
namespace {

struct Model {
    std::vector<uint8_t> data; // frames then the guard frame
    int32_t channels, bits, frames, hertz;
    bool loop;
    uint64_t pos = 0;
    int32_t rate_now = 65536, rate_target = 65536;
    int32_t vol_now = 4096, vol_target = 4096, pan = 0, surround = 0;
    bool done = false;

    int32_t value(size_t i) const
    {
        if (bits == 8)
            return data[i];
        return static_cast<int16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    static int64_t step(int32_t rate, int32_t hertz)
    {
        return std::clamp<int64_t>(int64_t{rate} * hertz / 44100, 0, std::numeric_limits<int32_t>::max());
    }
    void read(int32_t& l, int32_t& r) const
    {
        const uint64_t e = pos >> 32;
        const uint32_t frac = static_cast<uint32_t>(pos);
        const bool wide = bits == 16;
        const auto lerp = [&](size_t a, size_t b, int64_t f) {
            if (wide)
                return static_cast<int32_t>(value(a) + ((value(b) - value(a)) * f >> 16));
            return static_cast<int32_t>(value(a) * 256 + ((value(b) - value(a)) * f >> 8) - 32768);
        };
        if (channels == 2) {
            const size_t base = e & ~uint64_t{1};
            const int64_t f = static_cast<int64_t>((e & 1) * 32768 + (frac >> 17));
            l = lerp(base, base + 2, f);
            r = lerp(base + 1, base + 3, f);
        } else {
            l = r = lerp(e, e + 1, frac >> 16);
        }
    }
    // One block of n frames into acc; mirrors the mixer's rules one frame at a time.
    void block(std::vector<int32_t>& acc, int32_t n)
    {
        if (done)
            return;
        const uint64_t end = static_cast<uint64_t>(channels * frames) << 32;
        const int64_t s_now = step(rate_now, hertz), s_to = step(rate_target, hertz);
        int64_t inc = (s_now * channels) << 16;
        int64_t inc_step = 0;
        int32_t vacc = vol_now * 256, vstep = 0;
        if (vol_now == vol_target && s_now == s_to) {
            if (vol_now == 0) {
                pos += static_cast<uint64_t>(n) * static_cast<uint64_t>(inc);
                end_rule(end);
                return;
            }
        } else {
            vstep = (vol_target * 256 - vol_now * 256) / n;
            inc_step = (((s_to * channels) << 16) - inc) / n;
            vol_now = vol_target;
            rate_now = rate_target;
        }
        for (int32_t k = 0; k < n; ++k) {
            const int32_t volume = vacc >> 8;
            int16_t left = static_cast<int16_t>(volume), right = static_cast<int16_t>(volume);
            if (pan > 0)
                left = static_cast<int16_t>((volume * (4096 - pan)) >> 12);
            if (pan < 0)
                right = static_cast<int16_t>((volume * (4096 + pan)) >> 12);
            if (surround < 0)
                right = static_cast<int16_t>(-right);
            int32_t l, r;
            read(l, r);
            acc[2 * static_cast<size_t>(k)] += (l * left) >> 8;
            acc[2 * static_cast<size_t>(k) + 1] += (r * right) >> 8;
            pos += static_cast<uint64_t>(inc);
            vacc += vstep;
            inc += inc_step;
            if (!end_rule(end))
                return;
        }
    }
    bool end_rule(uint64_t end)
    {
        while (pos >= end) {
            if (!loop) {
                done = true;
                return false;
            }
            pos -= end;
        }
        return true;
    }
};

class MixerReference : public MixerTest, public ::testing::WithParamInterface<int> {};

TEST_P(MixerReference, MatchesTheModelValueForValue)
{
    std::mt19937 rng(static_cast<uint32_t>(GetParam()));
    const auto pick = [&](std::initializer_list<int32_t> v) {
        return *(v.begin() + std::uniform_int_distribution<size_t>(0, v.size() - 1)(rng));
    };
    Model m;
    m.channels = pick({1, 2});
    m.bits = pick({8, 16});
    m.frames = std::uniform_int_distribution<int32_t>(1, 3000)(rng);
    m.hertz = pick({22050, 44100, 11025, 48000, 8000, 32000});
    m.loop = rng() % 2 == 0;
    const size_t bpf = static_cast<size_t>(m.channels * m.bits / 8);
    std::vector<uint8_t> frames(bpf * static_cast<size_t>(m.frames));
    for (auto& b : frames)
        b = static_cast<uint8_t>(rng());
    mixsample* s = create_mixsample(m.frames, m.bits, m.channels, m.hertz, frames.data(), m.loop);
    m.data.assign(s->data, s->data + s->size + static_cast<size_t>(s->bytes_per_frame));
    sound* snd = start(s, m.loop ? SOUND_LOOPING : SOUND_PLAYING);
    ASSERT_NE(snd, nullptr);

    for (int blockno = 0; blockno < 12; ++blockno) {
        std::vector<int32_t> acc(BLOCK, 0);
        m.block(acc, BLOCK / 2);
        const auto out = block();
        for (size_t i = 0; i < acc.size(); ++i)
            ASSERT_EQ(out[i], std::clamp(acc[i] >> 4, -32768, 32767))
                << "seed " << GetParam() << " block " << blockno << " value " << i;
        // New targets for the next block; sometimes none.
        switch (rng() % 5) {
        case 0: {
            const int32_t v = pick({0, 4096, 2048, 8191, 1});
            snd->set_volume(static_cast<int16_t>(v));
            m.vol_target = v;
            break;
        }
        case 1: {
            const int32_t r = pick({65536, 32768, 131072, 49152, 70001, 0, 12345});
            snd->set_rate(r);
            m.rate_target = r;
            break;
        }
        case 2: {
            const int32_t p = pick({-4096, -2048, 0, 1000, 4096});
            snd->set_pan(static_cast<int16_t>(p));
            m.pan = p;
            break;
        }
        case 3: {
            const int32_t d = pick({-1, 0, 5});
            snd->set_surround(static_cast<int16_t>(d));
            m.surround = d;
            break;
        }
        default:
            break;
        }
    }
    release_mixsample(s);
}

INSTANTIATE_TEST_SUITE_P(RandomSounds, MixerReference, ::testing::Range(1, 301));

} // namespace
} // namespace vantrel::test
