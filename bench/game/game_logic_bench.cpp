// The game's own per-pass work without drawing: reading the flight keys'
// effect, the bird and the wind, the motion of a typical scenery load
// (30 specks, 12 clouds, the island) and a music cycle's choice.
#include "game/flight.h"
#include "game/music_choice.h"
#include "game/random.h"
#include "game/scenery.h"
#include "game/state.h"

#include <benchmark/benchmark.h>

using namespace vantrel;

namespace {

void BM_FlightPass(benchmark::State& state)
{
    reset_game_state();
    set_followers();
    int k = 0;
    for (auto _ : state) {
        const bool flap = (++k % 300) < 120;
        apply_flight_keys({.left = flap, .right = flap});
        update_bird();
        update_wind();
        benchmark::DoNotOptimize(bird_y);
    }
}
BENCHMARK(BM_FlightPass);

void BM_SceneryMotionPass(benchmark::State& state)
{
    reset_game_state();
    create_scene_lists();
    for (int i = 0; i < 10; ++i)
        spawn_specks();
    for (int i = 0; i < 12; ++i)
        spawn_cloud();
    for (auto _ : state) {
        const float v = scroll_speed();
        advance_island(512);
        for (const auto& s : *specks) {
            benchmark::DoNotOptimize(step_speck(*s, v));
            s->y = 0; // keep the load steady
        }
        maybe_spawn_specks();
        for (const auto& c : *clouds) {
            step_cloud(*c, v);
            c->y = -490;
        }
        maybe_spawn_cloud();
        while (specks->count() > 30)
            list_remove(specks, *specks->begin());
        while (clouds->count() > 12)
            list_remove(clouds, *clouds->begin());
    }
}
BENCHMARK(BM_SceneryMotionPass);

void BM_MusicChoice(benchmark::State& state)
{
    reset_game_state();
    bird_y = 300;
    for (auto _ : state)
        benchmark::DoNotOptimize(plan_music_cycle());
}
BENCHMARK(BM_MusicChoice);

} // namespace

BENCHMARK_MAIN();
