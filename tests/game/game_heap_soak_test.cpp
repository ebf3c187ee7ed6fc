// A short soak of the whole game: 900 passes (15 s of game time under the
// manual clock) of scripted flight, with the bytes held by C++ allocations
// counted by a replaced global allocator. After a warm-up, those live bytes
// must not trend upwards. The scenery's lists breathe, so single samples are
// not compared: the mean of the last third of the samples against the mean
// of the first third.
#include "game_run.h"
#include "platform/event_injection.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <numeric>
#include <vector>

namespace {

std::atomic<long long> live_bytes{0};

void* counted(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    live_bytes.fetch_add(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    return p;
}

void uncounted(void* p) noexcept
{
    if (!p)
        return;
    live_bytes.fetch_sub(static_cast<long long>(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}

} // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
// The no-throw forms too: the OpenGL driver's compiler uses them, and a block
// must be freed by the allocator that made it.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return counted(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { uncounted(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { uncounted(p); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { uncounted(p); }

namespace vantrel::test {
namespace {

constexpr int WARM_UP = 120;
constexpr int PASSES = 900; // the second music cycle would start at 960
constexpr int SAMPLE_EVERY = 30;
// The event queue, which the game never reads, fills up to its 256 events in
// the first minutes (a few kB here); a leak of 50 bytes a pass shows as 26 kB.
constexpr long long ALLOWED_GROWTH = 24 * 1024;

// Both wings, one wing, the other, zoom in and out, in a five-second round.
void fly(GameRun& game, int frame)
{
    using namespace platform;
    switch (frame % 300) {
    case 10: game.press(SCANCODE_Z); game.press(SCANCODE_M); break;
    case 80: game.release(SCANCODE_Z); game.release(SCANCODE_M); game.press(SCANCODE_LEFT); break;
    case 130: game.release(SCANCODE_LEFT); game.press(SCANCODE_RIGHT); break;
    case 180: game.release(SCANCODE_RIGHT); game.press(SCANCODE_UP); break;
    case 230: game.release(SCANCODE_UP); game.press(SCANCODE_SPACE); break;
    case 280: game.release(SCANCODE_SPACE); break;
    default: break;
    }
}

double mean(const std::vector<long long>& v, size_t from, size_t to)
{
    return static_cast<double>(std::accumulate(v.begin() + static_cast<long>(from),
                                               v.begin() + static_cast<long>(to), 0LL)) /
           static_cast<double>(to - from);
}

TEST(GameHeapSoak, TheCounterSeesALeak)
{
    const long long before = live_bytes.load();
    {
        std::vector<int*> kept;
        for (int i = 0; i < 100; ++i)
            kept.push_back(new int[256]);
        EXPECT_GE(live_bytes.load() - before, 100 * 1024);
        for (int* p : kept)
            delete[] p;
    }
    EXPECT_EQ(live_bytes.load(), before);
}

TEST(GameHeapSoak, FlyingDoesNotGrowTheHeap)
{
    GameRun game;
    std::vector<long long> samples;
    size_t heap_at_warm_up = 0;
    game.every_frame([&](int frame) {
        fly(game, frame);
        if (frame == WARM_UP)
            heap_at_warm_up = mallinfo2().uordblks;
        if (frame >= WARM_UP && frame % SAMPLE_EVERY == 0)
            samples.push_back(live_bytes.load());
    });
    game.end_after(PASSES);
    game.run();
    ASSERT_EQ(game.frame_count(), PASSES);
    const size_t third = samples.size() / 3;
    ASSERT_GE(third, 5u);
    const double growth = mean(samples, samples.size() - third, samples.size()) - mean(samples, 0, third);
    std::printf("C++ live bytes: first third %.0f, last third %.0f\n", mean(samples, 0, third),
                mean(samples, samples.size() - third, samples.size()));
    RecordProperty("live_bytes_growth", static_cast<int>(growth));
    RecordProperty("malloc_in_use_growth",
                   static_cast<int>(static_cast<long long>(mallinfo2().uordblks) -
                                    static_cast<long long>(heap_at_warm_up)));
    EXPECT_LT(growth, ALLOWED_GROWTH) << "C++ heap grew by " << growth << " bytes over "
                                      << PASSES - WARM_UP << " passes";
}

} // namespace
} // namespace vantrel::test
