// The random draws of whole passes: with no keys pressed every draw is
// fixed by the game's rules, so the generator's state after each pass can
// be worked out from the draws alone: the first cycle's three coin tosses,
// the wind's draw, four per speck and one spawn draw, one per cloud and one
// spawn draw, with the spawns' own draws when they happen.
#include "game_run.h"

#include "game/random.h"
#include "game/scenery.h"
#include "game/state.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

struct PassSeen {
    int32_t state;
    size_t specks;
    size_t clouds;
};

// The draws of one pass's scenery, given the lists it starts with; updates
// the counts with the spawns it makes.
void scenery_draws(size_t& specks_now, size_t& clouds_now)
{
    for (size_t i = 0; i < specks_now; ++i) {
        random_int(-1, 1);
        random_int(-1, 1);
        random_int(-1, 1);
        random_float();
    }
    if (random_int(1, 10) == 10) {
        for (int i = 0; i < 3; ++i)
            random_int(-100, 740);
        specks_now += 3;
    }
    for (size_t i = 0; i < clouds_now; ++i)
        random_int(-2, 1);
    if (random_int(1, 20) == 10) {
        random_int(-100, 740);
        random_float();
        random_float();
        clouds_now += 1;
    }
}

TEST(GameDraws, EveryPassDrawsExactlyWhatItsRulesSay)
{
    // 250 passes: no speck or cloud is old enough to leave the screen, the
    // island does not wrap and no second music cycle starts.
    constexpr int PASSES = 250;
    std::vector<PassSeen> seen;
    {
        test::GameRun game;
        game.every_frame([&](int) {
            seen.push_back({get_random_state(), specks->count(), clouds->count()});
        });
        game.end_after(PASSES);
        game.run();
    }
    ASSERT_EQ(seen.size(), static_cast<size_t>(PASSES));

    size_t specks_now = 0, clouds_now = 0;
    set_random_state(RANDOM_START_STATE);
    for (int i = 0; i < 3; ++i)
        random_int(0, 1); // the first cycle: the bird is at 480, not resting at 439
    int spawned_specks = 0, spawned_clouds = 0;
    for (int k = 0; k < PASSES; ++k) {
        const size_t s0 = specks_now, c0 = clouds_now;
        scenery_draws(specks_now, clouds_now);
        spawned_specks += specks_now != s0;
        spawned_clouds += clouds_now != c0;
        ASSERT_EQ(seen[k].state, get_random_state()) << "frame " << k + 1;
        ASSERT_EQ(seen[k].specks, specks_now) << "frame " << k + 1;
        ASSERT_EQ(seen[k].clouds, clouds_now) << "frame " << k + 1;
        // The wind's draw comes after the frame, before the next pass.
        if (random_int(0, 1000) == 50)
            random_float();
    }
    EXPECT_GT(spawned_specks, 10);
    EXPECT_GT(spawned_clouds, 3);
    set_random_state(RANDOM_START_STATE);
}

TEST(GameDraws, NoCloudIsDrawnInThePassThatSpawnsIt)
{
    size_t clouds_at_first_spawn = 0;
    int32_t first_spawn_frame = 0;
    float first_cloud_y = 0;
    {
        test::GameRun game;
        game.every_frame([&](int frame) {
            if (first_spawn_frame == 0 && clouds->count() > 0) {
                first_spawn_frame = frame;
                clouds_at_first_spawn = clouds->count();
                first_cloud_y = (*clouds->begin())->y;
            }
        });
        game.end_after(120);
        game.run();
    }
    ASSERT_GT(first_spawn_frame, 1); // none exists in the first pass
    EXPECT_EQ(clouds_at_first_spawn, 1u);
    EXPECT_EQ(first_cloud_y, -490); // not moved yet: drawn from the next pass on
}

} // namespace
} // namespace vantrel
