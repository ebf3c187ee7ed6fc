// Decoding a 1024 x 1024 picture stored as JPEG (libjpeg) against the same
// picture stored as PNG (libpng), both through decode_pixmap from memory, as
// a program would load them. The files are written at start-up by the tests'
// writers: a gradient with fine noise, so that neither codec has it easy.
#include "assets/jpeg.h"
#include "assets/pixmap_loader.h"

#include "../../tests/assets/png_test_images.h"
#include "../../tests/assets/stock_test_images.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace vantrel {
namespace {

constexpr int32_t SIDE = 1024;

stocktest::Rgba picture()
{
    stocktest::Rgba p = stocktest::pattern(SIDE, SIDE);
    uint32_t state = 7;
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        const int v = p.pixels[i] + static_cast<int>(state >> 29) - 4;
        p.pixels[i] = static_cast<uint8_t>(std::clamp(v, 0, 255));
    }
    return p;
}

const stocktest::Bytes& jpeg_file()
{
    static const stocktest::Bytes file = stocktest::encode_jpeg(picture(), {false, false, 90});
    return file;
}

const stocktest::Bytes& png_file()
{
    static const stocktest::Bytes file = [] {
        stocktest::Rgba p = picture();
        pngtest::TestPng png;
        png.width = SIDE, png.height = SIDE;
        for (size_t i = 0; i < p.pixels.size(); ++i)
            if (i % 4 != 3)
                png.samples.push_back(p.pixels[i]);
        return pngtest::encode_png(png);
    }();
    return file;
}

void decode(benchmark::State& state, const stocktest::Bytes& file)
{
    static const bool ready = (streams_init(), pixmap_loaders_init(), jpeg_loader_init(), true);
    (void)ready;
    for (auto _ : state) {
        Ref<TPixmap> pixmap = decode_pixmap(
            create_memory_stream(file.data(), static_cast<int32_t>(file.size()), 1, 0));
        if (!pixmap || pixmap->width != SIDE)
            state.SkipWithError("the picture did not load");
        benchmark::DoNotOptimize(pixmap.get());
    }
    state.counters["file_kib"] = static_cast<double>(file.size()) / 1024.0;
}

void BM_Decode1024Jpeg(benchmark::State& state) { decode(state, jpeg_file()); }
void BM_Decode1024Png(benchmark::State& state) { decode(state, png_file()); }

// Medians: the machine is shared, so single runs wander.
BENCHMARK(BM_Decode1024Jpeg)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_Decode1024Png)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace
} // namespace vantrel

BENCHMARK_MAIN();
