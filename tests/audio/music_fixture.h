// Shared set-up for the streamed music tests: the output opened over the
// null platform's output with no refill thread, the clock by hand, and one
// block at a time mixed after the music decoder has had its turn, so a
// streamed sound and its loaded twin can be played the same way and
// compared value for value.
#pragma once

#include "assets/memory_stream.h"
#include "assets/stream.h"
#include "audio/audio.h"
#include "audio/mixer/ringdevice.h"
#include "audio/music.h"
#include "audio/ogg.h"
#include "audio/sample_loader.h"
#include "fake_output.h"
#include "platform/manual_clock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace vantrel::test {

using Bytes = std::vector<uint8_t>;
// Called before block i with the voice that plays.
using Steer = std::function<void(int i, const Ref<TVoice>& voice)>;

// A stream over `bytes`, which must outlive it.
inline Ref<TObject> memory(const Bytes& bytes)
{
    return create_memory_stream(bytes.data(), static_cast<int32_t>(bytes.size()), 1, 0);
}

class MusicTest : public ::testing::Test {
protected:
    MusicTest() : scoped(clock)
    {
        streams_init();
        sample_loaders_init();
#if VANTREL_HAVE_VORBIS
        ogg_loader_init();
#endif
        EXPECT_TRUE(audio_init_with(make_ref<FakeOutput>(), false));
    }
    ~MusicTest() override
    {
        audio_shutdown();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // One block; the decoder fills first unless told not to.
    std::vector<int16_t> block(bool decode = true)
    {
        if (decode)
            pump_music();
        std::vector<int16_t> out(DEVICE_FRAGMENT);
        audio_device()->get_mixer()->mix_s16(out.data(), 0);
        return out;
    }

    // `blocks` blocks of `sound` played from the first frame of the first
    // one; the sound is stopped and retired afterwards.
    std::vector<int16_t> record(const Ref<TSoundAsset>& sound, int blocks, const Steer& steer = {})
    {
        Ref<TVoice> voice = play_sound(sound, Ref<TVoice>());
        EXPECT_TRUE(voice);
        clock.advance(25);
        std::vector<int16_t> out;
        for (int i = 0; i < blocks; ++i) {
            if (steer)
                steer(i, voice);
            const auto b = block();
            out.insert(out.end(), b.begin(), b.end());
        }
        stop_voice(voice);
        block();
        block();
        return out;
    }

    // Blocks mixed until `voice` stops playing, or -1 when it still plays
    // after `limit`.
    int blocks_until_finished(const Ref<TVoice>& voice, int limit)
    {
        for (int i = 0; i < limit; ++i) {
            if (!voice_playing(voice))
                return i;
            block();
        }
        return voice_playing(voice) ? -1 : limit;
    }

    // A file in a folder of the test's own, removed afterwards.
    std::string write_file(const std::string& name, const Bytes& bytes)
    {
        std::filesystem::create_directories(dir_);
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    platform::ManualClock clock;
    platform::ScopedClock scoped;

private:
    std::filesystem::path dir_ =
        std::filesystem::temp_directory_path() / ("vantrel-music-" + std::to_string(::getpid()));
};

} // namespace vantrel::test
