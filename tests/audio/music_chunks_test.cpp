// A streamed sample mixed from chunks of a few frames against the same
// frames as one sample: with the speed and the volume ramped in every block,
// chunk boundaries fall inside ramps, between two interpolated frames and
// inside the exact-step loops, and the output must not differ by a value.
#include "audio/mixer/mixstream.h"
#include "audio/stream_decoder.h"
#include "mixer_fixture.h"

#include <algorithm>
#include <cstring>

namespace vantrel::test {
namespace {

// Frames from memory, handed out in runs of uneven length.
class VectorReader final : public stream_reader {
public:
    VectorReader(std::vector<int16_t> values, int32_t sample_format, int32_t rate)
        : values_(std::move(values))
    {
        format = sample_format;
        hertz = rate;
    }
    int32_t read(uint8_t* out, int32_t frames) override
    {
        const int32_t width = sample_channels(format);
        const int32_t total = static_cast<int32_t>(values_.size()) / width;
        const int32_t n = std::min({frames, total - at_, 1 + (at_ * 7 + 3) % 5});
        std::memcpy(out, values_.data() + at_ * width, static_cast<size_t>(n * width) * 2);
        at_ += n;
        return n;
    }
    bool rewind() override
    {
        at_ = 0;
        return true;
    }

private:
    std::vector<int16_t> values_;
    int32_t at_ = 0;
};

std::vector<int16_t> ramp_values(int32_t count)
{
    std::vector<int16_t> v(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        v[static_cast<size_t>(i)] = static_cast<int16_t>((i * 7919) % 60000 - 30000);
    return v;
}

class MusicChunks : public MixerTest {
protected:
    // Short blocks, so that a few frames a chunk keep up with the mixer.
    static constexpr int32_t SHORT_BLOCK = 32;

    // Blocks of `s` with new targets before each one; `job` filled first.
    std::vector<int16_t> steered(mixsample* s, int32_t state, stream_job* job, int blocks)
    {
        sound* snd = start(s, state, 0);
        std::vector<int16_t> out;
        for (int i = 0; i < blocks; ++i) {
            snd->set_rate(40000 + (i * 23456) % 90000);
            snd->set_volume(static_cast<int16_t>(i % 3 == 0 ? 4096 : (i * 997) % 5000));
            snd->set_pan(static_cast<int16_t>((i * 1234) % 8192 - 4096));
            if (job)
                fill_stream(*job);
            const auto b = block(SHORT_BLOCK);
            out.insert(out.end(), b.begin(), b.end());
        }
        mix.retire_all();
        return out;
    }
};

TEST_F(MusicChunks, TinyChunksMixAsOneSample)
{
    struct Case {
        int32_t format, channels, hertz, chunk_frames;
        bool loop;
    };
    for (const Case c : {Case{SAMPLE_STEREO16_LE, 2, 22050, 7, false}, Case{SAMPLE_STEREO16_LE, 2, 44100, 64, true},
                         Case{SAMPLE_MONO16_LE, 1, 30000, 5, true}, Case{SAMPLE_MONO16_LE, 1, 44100, 9, false}}) {
        SCOPED_TRACE(c.chunk_frames);
        const auto values = ramp_values(3001 * c.channels);
        SampleRef whole(create_mixsample(3001, 16, c.channels, c.hertz, values.data(), c.loop));
        const auto want = steered(whole.get(), c.loop ? SOUND_LOOPING : SOUND_PLAYING, nullptr, 400);

        stream_job job(std::make_unique<VectorReader>(values, c.format, c.hertz), Ref<TObject>(), c.format,
                       c.loop, c.chunk_frames);
        SampleRef streamed(create_stream_mixsample(16, c.channels, c.hertz, c.loop, &job.stream));
        EXPECT_EQ(steered(streamed.get(), c.loop ? SOUND_LOOPING : SOUND_PLAYING, &job, 400), want);
    }
}

TEST_F(MusicChunks, ASoundWithNothingDecodedYetWaitsInSilence)
{
    stream_job job(std::make_unique<VectorReader>(ramp_values(2000), SAMPLE_MONO16_LE, 44100), Ref<TObject>(),
                   SAMPLE_MONO16_LE, false);
    SampleRef streamed(create_stream_mixsample(16, 1, 44100, 0, &job.stream));
    sound* snd = start(streamed.get());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(block(), std::vector<int16_t>(BLOCK, 0));
    EXPECT_EQ(snd->state.load(), SOUND_PLAYING);
    EXPECT_EQ(snd->pos_int(), 0);
    fill_stream(job);
    const auto b = block();
    EXPECT_EQ(b[0], ramp_values(1)[0]); // from the first frame on
    for (int i = 0; i < 3; ++i)
        block();
    EXPECT_EQ(snd->state.load(), SOUND_DEAD); // 2000 frames: four blocks
}

TEST_F(MusicChunks, ReleasingTheSampleDetachesTheStream)
{
    stream_job job(std::make_unique<VectorReader>(ramp_values(10), SAMPLE_MONO16_LE, 44100), Ref<TObject>(),
                   SAMPLE_MONO16_LE, false);
    mixsample* s = create_stream_mixsample(16, 1, 44100, 0, &job.stream);
    EXPECT_EQ(create_stream_mixsample(16, 2, 44100, 0, &job.stream), nullptr); // frames of another size
    retain_mixsample(s);
    release_mixsample(s);
    EXPECT_FALSE(job.stream.detached());
    release_mixsample(s);
    EXPECT_TRUE(job.stream.detached());
}

} // namespace
} // namespace vantrel::test
