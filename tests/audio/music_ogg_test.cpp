// Streamed music from Ogg Vorbis: through the mixer it gives the frames the
// Ogg Vorbis loader's decode gives, loops without a seam, ends when its file
// is cut short while it plays, and refuses at open what the loader refuses.
#include "music_fixture.h"
#include "ogg_writer.h"

#include <filesystem>

namespace vantrel::test {
namespace {

TEST_F(MusicTest, OggPlaysTheFramesOfTheLoadedSound)
{
    Bytes chained = ogg_tone(9000, 2, 22050);
    const Bytes second = ogg_tone(7000, 2, 22050, 660);
    chained.insert(chained.end(), second.begin(), second.end());
    for (const Bytes& file : {ogg_tone(52920, 2, 44100), ogg_tone(26460, 1, 22050), chained}) {
        const auto want = record(load_sound(memory(file), 0), 110);
        ASSERT_GT(std::count(want.begin(), want.end(), 0), 0); // it did end
        EXPECT_EQ(record(open_music(Text::from_bytes(write_file("a.ogg", file)), 0), 110), want);
    }
}

TEST_F(MusicTest, OggLoopsRestartAtTheFirstFrameWithoutASeam)
{
    for (const int32_t frames : {3001, 9000}) {
        SCOPED_TRACE(frames);
        const Bytes file = ogg_tone(frames, 2, 22050);
        const int blocks = 3 * frames / 256 + 5;
        const auto want = record(load_sound(memory(file), 1), blocks);
        EXPECT_EQ(record(open_music(memory(file), 1), blocks), want);
    }
}

TEST_F(MusicTest, AnOggFileCutShortWhilePlayingEndsTheSound)
{
    const Bytes file = encode_ogg(sine_frames(220500, 1, 22050, 300), 1, 22050, 0.0f); // 10 s
    for (const int32_t flags : {0, 1}) {
        SCOPED_TRACE(flags);
        const std::string path = write_file("cut.ogg", file);
        Ref<TVoice> music = play_sound(open_music(Text::from_bytes(path), flags), Ref<TVoice>());
        clock.advance(25);
        for (int i = 0; i < 10; ++i)
            block();
        std::filesystem::resize_file(path, file.size() / 4); // about 2.5 s left
        const int took = blocks_until_finished(music, 1000);
        EXPECT_GT(took, 50);  // what was there played
        EXPECT_LT(took, 600); // the whole file takes 861 blocks
    }
}

TEST_F(MusicTest, AnOggFileThatIsNotWholeGivesTheNullObject)
{
    const Bytes good = ogg_tone(5000, 2, 22050);
    Bytes cut(good.begin(), good.end() - 200);
    Bytes damaged = ogg_tone(60000, 2, 22050);
    damaged[damaged.size() / 2] ^= 0x5A; // a page of sound whose checksum fails
    Bytes mixed = good;
    const Bytes mono = ogg_tone(5000, 1, 22050);
    mixed.insert(mixed.end(), mono.begin(), mono.end()); // links of two shapes
    const Bytes wide = encode_ogg(sine_frames(3000, 3, 22050, 440), 3, 22050);
    for (const Bytes& bad : {cut, mixed, wide, Bytes(good.begin(), good.begin() + 60)})
        EXPECT_FALSE(open_music(memory(bad), 0));
    EXPECT_TRUE(open_music(memory(good), 0));
    // Damage inside the data shows only as it plays: the sound ends there.
    const Ref<TSoundAsset> music = open_music(memory(damaged), 0);
    ASSERT_TRUE(music);
    Ref<TVoice> voice = play_sound(music, Ref<TVoice>());
    clock.advance(25);
    const int took = blocks_until_finished(voice, 1000);
    EXPECT_GT(took, 0);
    EXPECT_LT(took, 234 - 10); // 60000 frames in 234 blocks, and a page missing
}

} // namespace
} // namespace vantrel::test
