// Loading the music loops and starting a cycle's loops.
#include "game/music.h"

#include "audio/audio.h"
#include "game/asset_decoding.h"
#include "game/music_choice.h"

namespace vantrel {

Ref<TSoundAsset> music_loops[8];

void load_music_loops()
{
    for (int n = 1; n <= 8; ++n)
        music_loops[n - 1] = load_music_loop(n);
}

Ref<TSoundAsset> pick_music_loop()
{
    const MusicCycle cycle = plan_music_cycle();
    for (int i = 0; i < cycle.started_count; ++i)
        play_sound(music_loops[cycle.started[i] - 1], Ref<TVoice>());
    return music_loops[cycle.returned - 1];
}

} // namespace vantrel
