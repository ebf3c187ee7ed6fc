// Streamed music from WAV: through the mixer it gives the frames its loaded
// twin gives, with the same voice settings, loops without a seam, leaves a
// gap rather than waiting when its decoder falls behind, ends when its file
// is cut short, plays from a file, an asset and an open stream alike, and
// refuses what it cannot play whole.
#include "assets/registry.h"
#include "audio/mixer/mixstream.h"
#include "core/error.h"
#include "music_fixture.h"
#include "wav_builder.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace vantrel::test {
namespace {

// Frames that are never 0, so silence stands out: `channels` values each.
std::vector<int16_t> tone(int32_t frames, int channels, int bits)
{
    std::vector<int16_t> v;
    for (int32_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            const int32_t x = 300 + (i * (37 + 11 * c)) % 20000;
            v.push_back(static_cast<int16_t>(bits == 8 ? 1 + x % 250 : (i & 1 ? x : -x)));
        }
    return v;
}

Bytes wav(const std::vector<int16_t>& values, int channels, int hertz, int bits = 16)
{
    Bytes body;
    if (bits == 8)
        for (int16_t v : values)
            body.push_back(static_cast<uint8_t>(v));
    else
        body = le16(values);
    WavBuilder b;
    b.header(static_cast<uint32_t>(channels), static_cast<uint32_t>(hertz), static_cast<uint32_t>(bits))
        .chunk("data", body);
    return b.bytes;
}

Ref<TSoundAsset> loaded(const Bytes& bytes, int32_t flags) { return load_sound(memory(bytes), flags); }

bool silent(const std::vector<int16_t>& block)
{
    return std::all_of(block.begin(), block.end(), [](int16_t v) { return v == 0; });
}

TEST_F(MusicTest, EveryLayoutPlaysTheFramesOfTheLoadedSound)
{
    struct Case {
        int channels, hertz, bits;
    };
    for (const Case c : {Case{2, 44100, 16}, Case{1, 22050, 16}, Case{2, 22050, 8}, Case{1, 11025, 8}}) {
        SCOPED_TRACE(c.channels * 100 + c.bits);
        // Several chunks and a part one; the last blocks hear the end.
        const Bytes file = wav(tone(c.hertz * 6 / 5, c.channels, c.bits), c.channels, c.hertz, c.bits);
        const auto want = record(loaded(file, 0), 110);
        const Ref<TSoundAsset> music = open_music(Text::from_bytes(write_file("a.wav", file)), 0);
        ASSERT_TRUE(music);
        EXPECT_EQ(record(music, 110), want);
        EXPECT_TRUE(silent({want.end() - 1024, want.end()})); // it did reach its end
    }
}

TEST_F(MusicTest, VoiceSettingsActAsOnALoadedSound)
{
    const Bytes file = wav(tone(80000, 2, 16), 2, 44100);
    const Steer steer = [](int i, const Ref<TVoice>& v) {
        switch (i) {
        case 4: set_voice_volume(v, 0.5f); break;
        case 8: set_voice_pan(v, -0.6f); break;
        case 12: set_voice_rate(v, 1.37f); break; // positions between frames
        case 16: pause_voice(v); break;
        case 19: set_voice_volume(v, 0.8f); break; // while paused: no ramp
        case 21: resume_voice(v); break;
        case 26: set_voice_rate(v, 0.61f); set_voice_volume(v, 1.2f); break;
        case 32: set_voice_surround(v, -1.0f); set_voice_pan(v, 0.3f); break;
        case 38: set_voice_volume(v, 0.0f); break; // silent, yet it moves on
        case 44: set_voice_volume(v, 1.0f); set_voice_rate(v, 2.9f); break;
        default: break;
        }
    };
    const auto want = record(loaded(file, 0), 70, steer);
    EXPECT_EQ(record(open_music(memory(file), 0), 70, steer), want);
}

TEST_F(MusicTest, LoopsRestartAtTheFirstFrameWithoutASeam)
{
    // Shorter than one chunk, and a few chunks and a part.
    for (const int32_t frames : {3001, 9000}) {
        SCOPED_TRACE(frames);
        const Bytes file = wav(tone(frames, 2, 16), 2, 22050);
        const auto want = record(loaded(file, 1), 3 * frames / 256 + 5); // over three loops
        EXPECT_EQ(record(open_music(memory(file), 1), 3 * frames / 256 + 5), want);
        EXPECT_FALSE(silent({want.end() - 1024, want.end()}));
    }
}

TEST_F(MusicTest, ADecoderThatFallsBehindLeavesSilenceAndTheMusicGoesOn)
{
    const Bytes file = wav(tone(60000, 2, 16), 2, 44100);
    const auto want = record(loaded(file, 0), 80);
    Ref<TVoice> voice = play_sound(open_music(memory(file), 0), Ref<TVoice>());
    clock.advance(25);
    std::vector<int16_t> heard;
    int gaps = 0;
    for (int i = 0; i < 100; ++i) {
        // The decoder has one turn at the start, which fills its ring, and
        // then none for 80 blocks: the ring runs dry.
        const auto b = block(i == 0 || i >= 80);
        if (silent(b)) {
            ++gaps;
            EXPECT_EQ(voice_playing(voice), 1);
        } else {
            heard.insert(heard.end(), b.begin(), b.end());
        }
    }
    EXPECT_EQ(gaps, 80 - STREAM_CHUNKS * STREAM_CHUNK_FRAMES / 512);
    heard.resize(want.size());
    EXPECT_EQ(heard, want); // nothing lost, nothing repeated
}

TEST_F(MusicTest, AFileCutShortWhilePlayingEndsTheSoundAndFreesItsBuffers)
{
    for (const int32_t flags : {0, 1}) {
        SCOPED_TRACE(flags);
        const Bytes file = wav(tone(220500, 1, 16), 1, 22050); // 10 s
        const std::string path = write_file("cut.wav", file);
        Ref<TVoice> music = play_sound(open_music(Text::from_bytes(path), flags), Ref<TVoice>());
        Ref<TVoice> other = play_sound(loaded(wav(tone(2000, 2, 16), 2, 22050), 1), Ref<TVoice>());
        clock.advance(25);
        for (int i = 0; i < 10; ++i)
            block();
        std::filesystem::resize_file(path, file.size() / 5); // 2 s left, 1.6 s decoded so far
        const int took = blocks_until_finished(music, 1000);
        EXPECT_GT(took, 50);  // it played what was there
        EXPECT_LT(took, 200); // and no more
        EXPECT_FALSE(silent(block())); // the mixer goes on with the other sound
        stop_voice(other);
        block();
        block();
        block();
        EXPECT_EQ(mixstream_bytes(), 0u);
    }
}

TEST_F(MusicTest, APlayOfAFileThatHasGoneEndsAtOnce)
{
    const Bytes file = wav(tone(20000, 2, 16), 2, 22050);
    const std::string path = write_file("gone.wav", file);
    const Ref<TSoundAsset> music = open_music(Text::from_bytes(path), 0);
    const auto want = record(music, 10); // the first play decodes what opened
    std::filesystem::remove(path);
    Ref<TVoice> again = play_sound(music, Ref<TVoice>());
    ASSERT_TRUE(again);
    clock.advance(25);
    EXPECT_EQ(blocks_until_finished(again, 10), 1);
    EXPECT_FALSE(silent(want));
}

// A stream that fails once `good` bytes have been read.
class FailingStream final : public TByteStream {
public:
    FailingStream(Bytes bytes, int32_t good) : bytes_(std::move(bytes)), good_(good) {}
    int32_t pos() override { return at_; }
    int32_t size() override { return static_cast<int32_t>(bytes_.size()); }
    int32_t seek(int32_t p) override { return at_ = std::clamp(p, 0, size()); }
    int32_t read(void* buffer, int32_t count) override
    {
        if (at_ + count > good_)
            throw TStreamReadError();
        std::memcpy(buffer, bytes_.data() + at_, static_cast<size_t>(count));
        at_ += count;
        return count;
    }

private:
    Bytes bytes_;
    int32_t good_;
    int32_t at_ = 0;
};

TEST_F(MusicTest, AStreamThatFailsWhilePlayingEndsTheSound)
{
    const Bytes file = wav(tone(100000, 2, 16), 2, 44100);
    auto stream = make_ref<FailingStream>(file, static_cast<int32_t>(file.size() / 2));
    Ref<TVoice> voice = play_sound(open_music(Ref<TObject>(stream), 1), Ref<TVoice>());
    clock.advance(25);
    const int took = blocks_until_finished(voice, 1000);
    EXPECT_GT(took, 90); // 50000 frames, 97 blocks
    EXPECT_LT(took, 100);
}

TEST_F(MusicTest, FilesAssetsAndOpenStreamsPlayAlike)
{
    const Bytes file = wav(tone(20000, 2, 16), 2, 22050);
    const auto want = record(loaded(file, 0), 60);
    register_asset(u"music-test.wav", file.data(), static_cast<int32_t>(file.size()));
    EXPECT_EQ(record(open_music(Text::from_bytes("incbin::music-test.wav"), 0), 60), want);
    EXPECT_EQ(record(open_music(Text::from_bytes(write_file("m.wav", file)), 0), 60), want);
    // An open stream, from where it stands, read by two plays at once.
    Bytes padded(7, 0xAB);
    padded.insert(padded.end(), file.begin(), file.end());
    const Ref<TObject> stream = memory(padded);
    ref_cast<TByteStream>(stream)->seek(7);
    const Ref<TSoundAsset> music = open_music(stream, 0);
    EXPECT_EQ(record(music, 60), want);
    EXPECT_EQ(record(music, 60), want);
    const Ref<TSoundAsset> twin = loaded(file, 0);
    const auto pair = [&](const Ref<TSoundAsset>& s) {
        Ref<TVoice> first = play_sound(s, Ref<TVoice>());
        const auto out = record(s, 60);
        stop_voice(first);
        block();
        block();
        return out;
    };
    EXPECT_EQ(pair(music), pair(twin));
}

TEST_F(MusicTest, WhatCannotPlayWholeGivesTheNullObject)
{
    const Bytes good = wav(tone(1000, 2, 16), 2, 22050);
    Bytes cut(good.begin(), good.end() - 3); // the data chunk claims more than there is
    WavBuilder empty;
    empty.header(2, 22050, 16).chunk("data", {});
    WavBuilder before;
    before.tag("RIFF").u32(0).tag("WAVE").chunk("data", le16({1, 2, 3, 4}));
    WavBuilder wide;
    wide.header(3, 22050, 16).chunk("data", le16({1, 2, 3}));
    for (const Bytes& bad : {Bytes{}, Bytes{'R', 'I', 'F', 'F'}, cut, empty.bytes, before.bytes,
                             wide.bytes, Bytes(3000, 0x55)}) {
        EXPECT_FALSE(open_music(memory(bad), 0));
        EXPECT_FALSE(open_music(Text::from_bytes(write_file("bad.wav", bad)), 0));
    }
    EXPECT_FALSE(open_music(Text::from_bytes("/no/such/file.wav"), 0));
    EXPECT_FALSE(open_music(Text::from_bytes("incbin::no-such-asset"), 0));
    EXPECT_TRUE(open_music(memory(good), 0));
}

TEST_F(MusicTest, WithoutAnOutputMusicOpensAndPlaysSilently)
{
    audio_shutdown();
    const Ref<TSoundAsset> music = open_music(memory(wav(tone(1000, 2, 16), 2, 22050)), 0);
    ASSERT_TRUE(music);
    EXPECT_EQ(voice_playing(play_sound(music, Ref<TVoice>())), 0);
}

} // namespace
} // namespace vantrel::test
