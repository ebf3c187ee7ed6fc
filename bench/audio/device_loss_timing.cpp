// The game's side of an audio output that goes away and comes back, with the
// real clock: light frames paced by flip_frame while a looping sound plays
// through SDL's dummy driver behind an output that reports itself lost after
// 3 s and refuses to reopen until 8 s. Prints the frame intervals and the
// process CPU time in each phase, and the time from the output's return to
// the first buffer SDL is handed that carries sound.
//   SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 GALLIUM_DRIVER=llvmpipe xvfb-run -a ./device_loss_timing
#include "audio/audio.h"
#include "audio/audio_system.h"
#include "audio/mixer/ringdevice.h"
#include "gfx/gl/gl_backend.h"
#include "gfx/gl/gl_graphics_driver.h"
#include "gfx/graphics.h"
#include "input/system_driver.h"
#include "platform/clock_source.h"
#include "platform/sdl/sdl_audio_output.h"

#include <GL/gl.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

using namespace vantrel;

namespace {

std::atomic<uint64_t> returned_us{0}; // when reopening was allowed again
std::atomic<uint64_t> reopened_us{0};
std::atomic<uint64_t> heard_us{0};    // first sound handed to SDL after the return

void tap(void*, const uint8_t* bytes, uint32_t count)
{
    if (returned_us.load() == 0 || heard_us.load() != 0)
        return;
    if (std::any_of(bytes, bytes + count, [](uint8_t b) { return b != 0; }))
        heard_us.store(platform::monotonic_us());
}

// The SDL output, told by the program when its device is "unplugged".
class FlakyOutput final : public platform::AudioOutput {
public:
    explicit FlakyOutput(Ref<platform::AudioOutput> inner) : inner_(std::move(inner)) {}
    bool open(int32_t r, int32_t c, int32_t b, const uint8_t* ring, uint32_t bytes) override
    {
        return inner_->open(r, c, b, ring, bytes);
    }
    bool submit() override { return inner_->submit(); }
    void reset() override { inner_->reset(); }
    bool position(uint32_t& bytes) override { return inner_->position(bytes); }
    void set_written(uint32_t bytes) override { inner_->set_written(bytes); }
    void close() override { inner_->close(); }
    bool lost() override { return gone.load() || inner_->lost(); }
    bool reopen() override
    {
        if (refuse.load())
            return false;
        gone.store(false);
        const bool ok = inner_->reopen();
        if (ok)
            reopened_us.store(platform::monotonic_us());
        return ok;
    }
    std::atomic<bool> gone{false}, refuse{false};

private:
    Ref<platform::AudioOutput> inner_;
};

double cpu_ms()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

void report(const char* phase, const std::vector<double>& intervals, double cpu)
{
    double sum = 0;
    for (double v : intervals)
        sum += v;
    std::printf("%-28s frames %4zu  mean %.3f ms  p50 %.3f  p99 %.3f  max %.3f  CPU %.0f ms\n",
                phase, intervals.size(), sum / static_cast<double>(intervals.size()),
                percentile(intervals, 0.5), percentile(intervals, 0.99),
                percentile(intervals, 1.0), cpu);
}

} // namespace

int main()
{
    auto flaky = make_ref<FlakyOutput>(platform::create_sdl_audio_output(&tap, nullptr));
    if (!audio_init_with(flaky, true)) {
        std::fprintf(stderr, "no audio output\n");
        return 1;
    }
    auto buffer = create_sample_buffer(44100, 44100, SAMPLE_STEREO16_LE);
    std::fill(buffer->data, buffer->data + buffer->capacity, uint8_t{40});
    auto loop = load_sound(Ref<TObject>(buffer), 1);
    play_sound(loop, nullptr);
    gl_backend_init();
    graphics_init();
    system_driver_init();
    select_display_driver(gl_graphics_driver(), GFX_BACK_BUFFER);
    if (!open_graphics(640, 480, 0, 60, 0)) {
        std::fprintf(stderr, "no graphics: %s\n", last_graphics_error().to_bytes().c_str());
        return 1;
    }
    std::vector<double> phase[3];
    double phase_cpu[3] = {};
    const uint64_t start = platform::monotonic_us();
    uint64_t last = start;
    double cpu_mark = cpu_ms();
    int current = 0;
    while (true) {
        glClear(GL_COLOR_BUFFER_BIT);
        pump_messages();
        flip_frame(-1);
        const uint64_t now = platform::monotonic_us();
        const uint64_t t = now - start;
        phase[current].push_back(static_cast<double>(now - last) / 1000.0);
        last = now;
        const int next = t < 3000000 ? 0 : t < 8000000 ? 1 : 2;
        if (next != current) {
            phase_cpu[current] = cpu_ms() - cpu_mark;
            cpu_mark = cpu_ms();
            current = next;
            if (current == 1) {
                flaky->refuse.store(true);
                flaky->gone.store(true);
            } else {
                returned_us.store(now);
                flaky->refuse.store(false);
            }
        }
        if (t >= 11000000)
            break;
    }
    phase_cpu[2] = cpu_ms() - cpu_mark;
    report("output playing (0-3 s)", phase[0], phase_cpu[0]);
    report("output missing (3-8 s)", phase[1], phase_cpu[1]);
    report("output back (8-11 s)", phase[2], phase_cpu[2]);
    const ringdevice* dev = audio_device();
    std::printf("losses %d, reopens %d, underruns %d\n", dev->losses(), dev->reopens(),
                dev->underruns());
    if (heard_us.load() && reopened_us.load())
        std::printf("return -> reopen %.1f ms, reopen -> first sound handed to SDL %.1f ms, "
                    "return -> first sound %.1f ms\n",
                    static_cast<double>(reopened_us - returned_us) / 1000.0,
                    static_cast<double>(heard_us - reopened_us) / 1000.0,
                    static_cast<double>(heard_us - returned_us) / 1000.0);
    else
        std::printf("no sound after the return\n");
    close_opened_graphics();
    audio_shutdown();
    return 0;
}
