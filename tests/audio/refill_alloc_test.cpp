// Steady playback allocates nothing on the refill thread. This program
// replaces the global allocator with one that counts every allocation made
// off the main thread; the only other thread here is the device's.
#include "audio/audio.h"
#include "audio/mixer/ringdevice.h"
#include "fake_output.h"
#include "input/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

namespace {

std::atomic<long> off_main_allocations{0};
std::thread::id main_thread = std::this_thread::get_id();

void* counted(std::size_t size)
{
    if (std::this_thread::get_id() != main_thread)
        off_main_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace vantrel::test {
namespace {

TEST(RefillAllocations, TheCounterSeesOtherThreads)
{
    const long before = off_main_allocations.load();
    // A direct call: a new-expression whose result is unused may be elided
    // altogether (clang does), and the counter would see nothing.
    std::thread([] { ::operator delete(::operator new(sizeof(int))); }).join();
    EXPECT_EQ(off_main_allocations.load(), before + 1);
}

TEST(RefillAllocations, SteadyPlaybackAllocatesNothingOnTheRefillThread)
{
    const long before = off_main_allocations.load();
    auto out = make_ref<FakeOutput>();
    out->advance_per_read = 2048;
    ASSERT_TRUE(audio_init_with(out, true));
    auto b = create_sample_buffer(2000, 22050, SAMPLE_STEREO16_LE);
    std::fill(b->data, b->data + b->capacity, uint8_t{7});
    auto once = load_sound(Ref<TObject>(b), 0);
    auto loop = load_sound(Ref<TObject>(b), 1);
    auto music = play_sound(loop, nullptr);
    // Sounds start, play out, die and are reused for about a second.
    for (int i = 0; i < 100; ++i) {
        auto v = play_sound(once, nullptr);
        set_voice_volume(v, 0.5f);
        set_voice_rate(music, 1.0f + static_cast<float>(i % 3) / 10.0f);
        delay(10);
    }
    const int reads = out->position_reads.load();
    audio_shutdown();
    EXPECT_GT(reads, 10); // the refill thread was busy all along
    EXPECT_EQ(off_main_allocations.load(), before);
}

} // namespace
} // namespace vantrel::test
