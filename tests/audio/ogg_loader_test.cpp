// The Ogg Vorbis loader: files written with libvorbisenc decode back to their
// frames within the codec's loss, WAV data still goes to the WAV loader, and
// cut-short, damaged or unsupported streams give the null object.
#include "assets/memory_stream.h"
#include "audio/audio_state.h"
#include "audio/ogg.h"
#include "audio/ogg/ogg_loader.h"
#include "audio/sample_loader.h"
#include "audio/wav_chunk_loader.h"
#include "audio/wav_loader.h"
#include "ogg_writer.h"
#include "wav_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace vantrel::test {
namespace {

using Bytes = std::vector<uint8_t>;

Ref<TByteStream> stream_over(const Bytes& file)
{
    return create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0);
}

Ref<TSampleBuffer> load(const Bytes& file) { return make_ref<TOggLoader>()->load(stream_over(file)); }

// The decoded frames against the originals: the error's power over the
// signal's.
double relative_error(const TSampleBuffer& buffer, const std::vector<int16_t>& frames)
{
    double signal = 0, error = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        int16_t got;
        std::memcpy(&got, buffer.data + i * 2, 2);
        const double want = frames[i], diff = got - want;
        signal += want * want;
        error += diff * diff;
    }
    return std::sqrt(error / signal);
}

TEST(OggLoader, StereoAndMonoDecodeToTheirFrames)
{
    struct Case {
        int channels;
        long hertz;
        int32_t format;
    };
    for (const Case& c : {Case{2, 44100, SAMPLE_STEREO16_LE}, Case{1, 22050, SAMPLE_MONO16_LE}}) {
        SCOPED_TRACE(c.channels);
        const auto frames = sine_frames(20000, c.channels, c.hertz, 440.0);
        auto buffer = load(encode_ogg(frames, c.channels, c.hertz));
        ASSERT_TRUE(buffer);
        EXPECT_EQ(buffer->format, c.format);
        EXPECT_EQ(buffer->hertz, c.hertz);
        ASSERT_EQ(buffer->frames, 20000); // the codec keeps the frame count exactly
        EXPECT_EQ(buffer->capacity, 20000 * 2 * c.channels);
        EXPECT_LT(relative_error(*buffer, frames), 0.05);
    }
}

TEST(OggLoader, ChainedStreamsOfOneShapeLoadWhole)
{
    Bytes file = encode_ogg(sine_frames(3000, 2, 44100, 300.0), 2, 44100);
    const Bytes second = encode_ogg(sine_frames(5000, 2, 44100, 600.0), 2, 44100);
    file.insert(file.end(), second.begin(), second.end());
    auto buffer = load(file);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer->frames, 8000);
}

TEST(OggLoader, UnsupportedShapesGiveNull)
{
    EXPECT_FALSE(load(encode_ogg(sine_frames(2000, 3, 44100, 440.0), 3, 44100)));
    Bytes file = encode_ogg(sine_frames(3000, 2, 44100, 300.0), 2, 44100);
    const Bytes other_rate = encode_ogg(sine_frames(3000, 2, 22050, 300.0), 2, 22050);
    file.insert(file.end(), other_rate.begin(), other_rate.end());
    EXPECT_FALSE(load(file));
}

TEST(OggLoader, ForeignDataGivesNull)
{
    const Bytes wav = WavBuilder().header(2, 22050, 16).chunk("data", Bytes(8)).bytes;
    EXPECT_FALSE(load(wav));
    EXPECT_FALSE(load({}));
    EXPECT_FALSE(load({'O', 'g', 'g'}));
    Bytes junk{'O', 'g', 'g', 'S'};
    junk.resize(300, 0x5A);
    EXPECT_FALSE(load(junk));
}

TEST(OggLoader, EveryTruncationGivesNull)
{
    const Bytes file = encode_ogg(sine_frames(4000, 2, 44100, 440.0), 2, 44100, 0.1f);
    ASSERT_TRUE(load(file));
    for (size_t n = 0; n < file.size(); ++n)
        EXPECT_FALSE(load(Bytes(file.begin(), file.begin() + static_cast<ptrdiff_t>(n)))) << n;
}

TEST(OggLoader, DamagedPagesGiveNull)
{
    const Bytes file = encode_ogg(sine_frames(40000, 2, 44100, 440.0), 2, 44100);
    int refused = 0, tried = 0;
    for (size_t at = file.size() / 4; at < file.size() - 64; at += file.size() / 9) {
        Bytes damaged = file;
        damaged[at] ^= 0x55; // the page's checksum no longer matches
        refused += !load(damaged);
        ++tried;
    }
    EXPECT_EQ(refused, tried);
    Bytes no_end = file;
    size_t last = no_end.size() - 4;
    while (std::memcmp(&no_end[last], "OggS", 4) != 0)
        --last;
    no_end[last + 5] &= ~0x04; // the final page no longer says so
    EXPECT_FALSE(load(no_end));
}

// A memory stream whose reads fail when they touch one byte.
class TFailingStream final : public TMemoryStream {
public:
    TFailingStream(const Bytes& data, int32_t bad_byte)
        : TMemoryStream(data.data(), static_cast<int32_t>(data.size()), 1, 0), bad_(bad_byte)
    {
    }
    int32_t read(void* buffer, int32_t count) override
    {
        if (pos() <= bad_ && pos() + count > bad_)
            throw TStreamReadError();
        return TMemoryStream::read(buffer, count);
    }

private:
    int32_t bad_;
};

// A byte near the start fails while libvorbisfile reads; one near the end
// fails in the loader's own check of the last page.
TEST(OggLoader, StreamErrorsAreRaisedAfterCleanUp)
{
    // Noise, so that the file is larger than the loader's look at its end.
    std::vector<int16_t> noise(2 * 200000);
    uint32_t state = 1;
    for (int16_t& v : noise)
        v = static_cast<int16_t>((state = state * 1664525u + 1013904223u) >> 18);
    const Bytes file = encode_ogg(noise, 2, 44100, 0.9f);
    ASSERT_GT(file.size(), 140000u);
    for (size_t bad : {file.size() / 4, file.size() - 10}) {
        SCOPED_TRACE(bad);
        auto stream = make_ref<TFailingStream>(file, static_cast<int32_t>(bad));
        EXPECT_THROW(make_ref<TOggLoader>()->load(stream), TStreamReadError);
        streams_init();
        sample_loaders_init();
        ogg_loader_init();
        EXPECT_FALSE(load_sample_buffer(Ref<TObject>(make_ref<TFailingStream>(file, static_cast<int32_t>(bad)))));
    }
}

// WAV first, then the second WAV reader, then Ogg Vorbis, and nothing more.
void expect_wav_readers_then_ogg()
{
    const Ref<TSampleLoader> first = first_sample_loader();
    ASSERT_TRUE(first);
    EXPECT_TRUE(dynamic_cast<TWavLoader*>(first.get()));
    ASSERT_TRUE(first->next);
    EXPECT_TRUE(dynamic_cast<TWavChunkLoader*>(first->next.get())); // the second WAV reader
    ASSERT_TRUE(first->next->next);
    EXPECT_TRUE(dynamic_cast<TOggLoader*>(first->next->next.get()));
    EXPECT_FALSE(first->next->next->next);
}

// Its library's start-up puts it last, whether it runs before or after the
// built-in loaders', and only once.
TEST(OggLoader, StartedBeforeOrAfterTheWavReadersItIsAskedLast)
{
    audio_state().reset();
    streams_init();
    ogg_loader_init();
    sample_loaders_init();
    ogg_loader_init();
    expect_wav_readers_then_ogg();
    audio_state().reset();
    sample_loaders_init();
    ogg_loader_init();
    ogg_loader_init();
    expect_wav_readers_then_ogg();
}

TEST(OggLoader, WavIsTriedFirstAndOggAfterIt)
{
    streams_init();
    sample_loaders_init();
    ogg_loader_init();
    expect_wav_readers_then_ogg();

    const Bytes ogg = encode_ogg(sine_frames(1000, 1, 8000, 440.0), 1, 8000);
    auto buffer = load_sample_buffer(Ref<TObject>(stream_over(ogg)));
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer->hertz, 8000);
    EXPECT_EQ(buffer->frames, 1000);
    const Bytes wav = WavBuilder().header(1, 11025, 16).chunk("data", Bytes(8)).bytes;
    auto from_wav = load_sample_buffer(Ref<TObject>(stream_over(wav)));
    ASSERT_TRUE(from_wav);
    EXPECT_EQ(from_wav->hertz, 11025);
}

} // namespace
} // namespace vantrel::test
