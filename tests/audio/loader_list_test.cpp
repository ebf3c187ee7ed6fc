// The sample loader list: newest first, every loader from the same start,
// stream errors taken as "not mine". The audio record is reset after each
// test, so the loaders registered here never answer for other tests; and a
// reset shuts the device and forgets what start-up registered.
#include "assets/stream.h"
#include "audio/audio_state.h"
#include "audio/audio_system.h"
#include "audio/mixer_backend.h"
#include "audio/sample_loader.h"
#include "fake_output.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel::test {
namespace {

// Loaders of the list: newest first, stream errors mean "not mine".
class CountingLoader final : public TSampleLoader {
public:
    enum Mode { Nothing, StreamError, OtherError, Buffer };
    explicit CountingLoader(Mode m) : mode(m) {}
    Ref<TSampleBuffer> load(const Ref<TByteStream>& s) override
    {
        ++calls;
        start = s->pos();
        s->read_byte();
        switch (mode) {
        case StreamError: throw TStreamReadError();
        case OtherError: raise_error(u"broken");
        case Buffer: return create_sample_buffer(1, 1, SAMPLE_MONO8);
        default: return {};
        }
    }
    Mode mode;
    int calls = 0;
    int32_t start = -2;
};

class SampleLoaderList : public ::testing::Test {
protected:
    void TearDown() override { audio_state().reset(); }
};

TEST_F(SampleLoaderList, BaseLoaderIsAbstract)
{
    TSampleLoader base;
    EXPECT_THROW(base.load(Ref<TByteStream>()), TRuntimeError);
}

TEST_F(SampleLoaderList, NewestFirstFromTheSameStartAndStreamErrorsSkipped)
{
    streams_init();
    sample_loaders_init();
    auto older = make_ref<CountingLoader>(CountingLoader::Nothing);
    auto failing = make_ref<CountingLoader>(CountingLoader::StreamError);
    register_sample_loader(older);
    register_sample_loader(failing);
    EXPECT_EQ(first_sample_loader(), Ref<TSampleLoader>(failing));
    const std::vector<uint8_t> junk(16, 0x55);
    Ref<TByteStream> s = create_memory_stream(junk.data(), 16, 1, 0);
    s->seek(3);
    EXPECT_FALSE(load_sample_buffer(Ref<TObject>(s)));
    EXPECT_EQ(failing->calls, 1);
    EXPECT_EQ(older->calls, 1);
    EXPECT_EQ(older->start, 3);

    auto raising = make_ref<CountingLoader>(CountingLoader::OtherError);
    register_sample_loader(raising);
    EXPECT_THROW(load_sample_buffer(Ref<TObject>(s)), TRuntimeError);
    raising->mode = CountingLoader::Buffer;
    EXPECT_TRUE(load_sample_buffer(Ref<TObject>(s)));
    EXPECT_EQ(failing->calls, 1); // stopped at the first buffer
}

TEST_F(SampleLoaderList, ResetShutsTheDeviceAndForgetsLoadersAndBackend)
{
    sample_loaders_init();
    ASSERT_TRUE(first_sample_loader());
    ASSERT_TRUE(audio_init_with(make_ref<FakeOutput>(), false));
    ASSERT_TRUE(audio_device());
    ASSERT_TRUE(ref_cast<TMixerBackend>(current_audio_backend()));

    audio_state().reset();

    EXPECT_FALSE(audio_device());
    EXPECT_FALSE(audio_channels());
    EXPECT_FALSE(first_sample_loader());
    EXPECT_FALSE(ref_cast<TMixerBackend>(current_audio_backend())); // the silent one
    sample_loaders_init(); // start-up registers again
    EXPECT_TRUE(first_sample_loader());
    EXPECT_TRUE(audio_init_with(make_ref<FakeOutput>(), false)); // and opens again
}

} // namespace
} // namespace vantrel::test
