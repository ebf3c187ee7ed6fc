// Image collision tests: two 64 x 64 rotated images (a filled disc on a
// transparent square, the usual sprite), 10,000 tests per iteration, at
// rotations that change every test.
//   near_miss: the bounding boxes overlap but the discs do not touch, so
//              every shared pixel is looked at (the costly case);
//   touching:  the discs overlap, and the walk stops at the first pixel.
//   apart:     the boxes do not meet (the quick rejection).
#include "assets/pixmap.h"
#include "gfx/image.h"
#include "gfx/image_collision.h"

#include <benchmark/benchmark.h>

namespace vantrel {
namespace {

constexpr int TESTS = 10000;

Ref<TImage> disc_sprite()
{
    auto p = new_pixmap(64, 64, FORMAT_RGBA32, 4);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const float dx = static_cast<float>(x) - 31.5f, dy = static_cast<float>(y) - 31.5f;
            p->put_pixel(x, y, dx * dx + dy * dy < 30.f * 30.f ? 0xFFFF8000u : 0u);
        }
    auto image = TImage::load(Ref<TObject>(p), 0, 0, 0, 0);
    centre_image_handle(image);
    return image;
}

void run(benchmark::State& state, float distance)
{
    const auto a = disc_sprite(), b = disc_sprite();
    int hits = 0;
    for (auto _ : state) {
        for (int i = 0; i < TESTS; ++i) {
            const float turn = static_cast<float>(i % 360);
            hits += images_collide(a, {100, 100, 0, turn, 1, 1}, b, {100 + distance, 100, 0, 45 - turn, 1, 1});
        }
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits per 10000"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}

void BM_collide_near_miss(benchmark::State& state) { run(state, 62); }
void BM_collide_touching(benchmark::State& state) { run(state, 50); }
void BM_collide_apart(benchmark::State& state) { run(state, 100); }

BENCHMARK(BM_collide_near_miss)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_collide_touching)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_collide_apart)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vantrel

BENCHMARK_MAIN();
