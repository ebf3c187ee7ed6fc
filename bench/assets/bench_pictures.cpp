// Loading the game's pictures: decode_pixmap through libpng plus the colour
// keys the image layer applies, and, for scale, a memcpy of the same decoded
// pixel bytes, so that the decoder's share of the time is plain.
#include "assets/pixmap_loader.h"
#include "assets/pixmap_ops.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

void register_bench_pictures();

namespace vantrel {
namespace {

struct Picture {
    const char16_t* location;
    int32_t key_red, key_green, key_blue;
};

// The game's mask colours.
constexpr Picture PICTURES[] = {
    {u"incbin::island.png", 255, 255, 255},
    {u"incbin::wing2.png", 255, 0, 255},
    {u"incbin::spark.png", 0, 0, 0},
};

void setup()
{
    static const bool done = (register_bench_pictures(), streams_init(), pixmap_loaders_init(),
                              true);
    (void)done;
}

std::vector<Ref<TPixmap>> decode_all()
{
    std::vector<Ref<TPixmap>> out;
    for (const Picture& p : PICTURES)
        out.push_back(decode_pixmap(Text(p.location)));
    return out;
}

void BM_DecodeAndKeyAllThree(benchmark::State& state)
{
    setup();
    for (auto _ : state) {
        for (const Picture& p : PICTURES) {
            Ref<TPixmap> masked = apply_colour_key(decode_pixmap(Text(p.location)), p.key_red,
                                                   p.key_green, p.key_blue);
            benchmark::DoNotOptimize(masked->pixels);
        }
    }
}
BENCHMARK(BM_DecodeAndKeyAllThree)->Unit(benchmark::kMillisecond);

void BM_DecodeAllThree(benchmark::State& state)
{
    setup();
    for (auto _ : state) {
        auto pixmaps = decode_all();
        benchmark::DoNotOptimize(pixmaps.data());
    }
}
BENCHMARK(BM_DecodeAllThree)->Unit(benchmark::kMillisecond);

void BM_KeyAllThree(benchmark::State& state)
{
    setup();
    const auto pixmaps = decode_all();
    for (auto _ : state) {
        for (size_t i = 0; i < pixmaps.size(); ++i) {
            const Picture& p = PICTURES[i];
            auto masked = apply_colour_key(pixmaps[i], p.key_red, p.key_green, p.key_blue);
            benchmark::DoNotOptimize(masked->pixels);
        }
    }
}
BENCHMARK(BM_KeyAllThree)->Unit(benchmark::kMillisecond);

// The decoded bytes of the three pictures copied into buffers made ahead.
void BM_MemcpyDecodedBytes(benchmark::State& state)
{
    setup();
    std::vector<std::vector<uint8_t>> sources, targets;
    size_t total = 0;
    for (const Ref<TPixmap>& p : decode_all()) {
        const size_t bytes = static_cast<size_t>(p->pitch) * p->height;
        sources.emplace_back(p->pixels, p->pixels + bytes);
        targets.emplace_back(bytes);
        total += bytes;
    }
    for (auto _ : state) {
        for (size_t i = 0; i < sources.size(); ++i)
            std::memcpy(targets[i].data(), sources[i].data(), sources[i].size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}
BENCHMARK(BM_MemcpyDecodedBytes)->Unit(benchmark::kMicrosecond);

// The same bytes into freshly made pixmaps, allocation included, as decoding
// does.
void BM_CopyIntoNewPixmaps(benchmark::State& state)
{
    setup();
    const auto pixmaps = decode_all();
    for (auto _ : state) {
        for (const Ref<TPixmap>& p : pixmaps) {
            auto copy = p->copy();
            benchmark::DoNotOptimize(copy->pixels);
        }
    }
}
BENCHMARK(BM_CopyIntoNewPixmaps)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace vantrel

BENCHMARK_MAIN();
