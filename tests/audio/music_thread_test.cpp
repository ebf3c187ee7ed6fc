// Streamed music with its threads at work: the decoder thread filling while
// another thread mixes as fast as it can, and the whole audio system with
// its refill and decoder threads while the main thread starts and steers
// music. Meant for ThreadSanitizer (-DVANTREL_TSAN=ON) as much as for the
// checks.
#include "assets/memory_stream.h"
#include "audio/audio.h"
#include "audio/mixer/mixer.h"
#include "audio/mixer/mixsample.h"
#include "audio/mixer/mixstream.h"
#include "audio/music.h"
#include "audio/sample_loader.h"
#include "audio/stream_decoder.h"
#include "audio/stream_reader.h"
#include "fake_output.h"
#include "input/clock.h"
#include "wav_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace vantrel::test {
namespace {

using Bytes = std::vector<uint8_t>;

// Stereo values that are never 0, so that silence stands out.
std::vector<int16_t> never_zero(int32_t frames)
{
    std::vector<int16_t> v;
    for (int32_t i = 0; i < 2 * frames; ++i)
        v.push_back(static_cast<int16_t>(i % 2 ? 100 + i % 9000 : -100 - i % 7000));
    return v;
}

Bytes wav_of(const std::vector<int16_t>& values)
{
    WavBuilder wav;
    wav.header(2, 44100, 16).chunk("data", le16(values));
    return wav.bytes;
}

// A stream over memory that gives 256 bytes a millisecond at the most: far
// slower than the mixing thread asks for frames.
class SlowStream final : public TByteStream {
public:
    explicit SlowStream(Bytes bytes) : bytes_(std::move(bytes)) {}
    int32_t pos() override { return at_; }
    int32_t size() override { return static_cast<int32_t>(bytes_.size()); }
    int32_t seek(int32_t p) override { return at_ = std::clamp(p, 0, size()); }
    int32_t read(void* buffer, int32_t count) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const int32_t n = std::min({count, size() - at_, 256});
        std::memcpy(buffer, bytes_.data() + at_, static_cast<size_t>(std::max(n, 0)));
        at_ += std::max(n, 0);
        return n;
    }

private:
    Bytes bytes_;
    int32_t at_ = 0;
};

TEST(MusicThreads, ASlowDecoderNeverHoldsTheMixingThread)
{
    const auto values = never_zero(100000);
    mixer m(1024);
    m.rate = 44100;
    m.channels = 2;
    stream_decoder decoder(true);
    std::unique_ptr<stream_reader> reader = open_wav_reader(make_ref<SlowStream>(wav_of(values)));
    ASSERT_TRUE(reader);
    auto job = std::make_unique<stream_job>(std::move(reader), Ref<TObject>(), SAMPLE_STEREO16_LE, false);
    mixsample* s = create_stream_mixsample(16, 2, 44100, 0, &job->stream);
    ASSERT_TRUE(decoder.add(job));
    ASSERT_NE(m.play(s, nullptr, SOUND_PLAYING, 0, 1), nullptr);
    release_mixsample(s);

    std::vector<int16_t> heard;
    int silent_blocks = 0;
    std::thread mixing([&] {
        std::vector<int16_t> out(1024);
        for (int i = 0; i < 300; ++i) { // 3.5 s of sound, mixed in far less
            m.mix_s16(out.data(), 0);
            if (std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 0; }))
                ++silent_blocks;
            std::copy_if(out.begin(), out.end(), std::back_inserter(heard), [](int16_t v) { return v != 0; });
        }
    });
    mixing.join();
    EXPECT_GT(silent_blocks, 0);
    ASSERT_LT(heard.size(), values.size());
    // What came, came in order, with nothing lost or repeated before it.
    const size_t start = heard.empty() ? 0 : static_cast<size_t>(std::find(values.begin(), values.end(), heard[0]) - values.begin());
    EXPECT_EQ(start, 0u);
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), values.begin()));
    m.retire_all(); // lets go of the stream: the decoder frees it
}

TEST(MusicThreads, MusicStartedAndSteeredWhileTheRefillAndDecoderThreadsRun)
{
    streams_init();
    sample_loaders_init();
    auto out = make_ref<FakeOutput>();
    out->advance_per_read = 2048; // one fragment played per tick
    ASSERT_TRUE(audio_init_with(out, true));
    const Bytes wav = wav_of(never_zero(30000));
    const Ref<TObject> stream = create_memory_stream(wav.data(), static_cast<int32_t>(wav.size()), 1, 0);
    const Ref<TSoundAsset> once = open_music(stream, 0);
    const Ref<TSoundAsset> looping = open_music(stream, 1);
    ASSERT_TRUE(once && looping);
    std::vector<Ref<TVoice>> voices;
    int refused = 0; // a decoder that falls far behind takes no more plays for a while
    for (int i = 0; i < 300; ++i) {
        Ref<TVoice> v = play_sound(i % 3 ? once : looping, Ref<TVoice>());
        if (!v) {
            ++refused;
            continue;
        }
        voices.push_back(v);
        const Ref<TVoice>& some = voices[static_cast<size_t>(i * 7) % voices.size()];
        set_voice_volume(some, 0.3f);
        set_voice_rate(some, 0.5f + (i % 5) * 0.4f);
        pause_voice(some);
        resume_voice(some);
        if (i % 4 == 0)
            stop_voice(voices[voices.size() / 2]);
        if (i % 10 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    RecordProperty("refused_plays", refused);
    EXPECT_GT(voices.size(), 100u);
    EXPECT_GT(out->position_reads.load(), 5); // the refill thread did run
    EXPECT_GT(mixstream_bytes(), 0u);
    audio_shutdown();
    EXPECT_EQ(mixstream_bytes(), 0u); // every stream freed, decoder joined
}

} // namespace
} // namespace vantrel::test
