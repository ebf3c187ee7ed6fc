// The music choice table.
#include "game/music_choice.h"

#include "game/random.h"
#include "game/state.h"

namespace vantrel {

namespace {

constexpr int32_t BASE_LOOP = 8;
constexpr int32_t HIGH_LOOP = 7;

void toss_for(MusicCycle& cycle, int32_t choice)
{
    if (random_int(0, 1) != 0)
        cycle.started[cycle.started_count++] = choice;
}

} // namespace

MusicCycle plan_music_cycle()
{
    MusicCycle cycle;
    music_elapsed_ms = 0;
    int32_t choice = BASE_LOOP;
    if (bird_y == 439) // resting: the caller plays the base loop alone
        return cycle;
    cycle.started[cycle.started_count++] = BASE_LOOP;

    // Kept on purpose: `choice` carries over, so a layer whose tests all fail
    // starts the loop of the layer before it again; in the first cycle, with
    // every follower equal to what it follows, loop 8 starts two to five
    // times at once.
    if (target_y < bird_y) // just dropped
        choice = 1;
    if (target_y > bird_y) // just rose
        choice = 2;
    toss_for(cycle, choice);

    if (target_right < right_wing) // a wing going down
        choice = 3;
    if (target_left < left_wing)
        choice = 4;
    toss_for(cycle, choice);

    if (target_right > right_wing) // a wing going up
        choice = 5;
    if (target_left > left_wing)
        choice = 6;
    toss_for(cycle, choice);

    if (bird_y < 200)
        choice = HIGH_LOOP;
    cycle.returned = choice;
    return cycle;
}

} // namespace vantrel
