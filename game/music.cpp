// Loading the music loops and starting a cycle's loops.
#include "game/music.h"

#include "audio/audio.h"
#include "game/music_choice.h"

#include <string>

namespace vantrel {

Ref<TSoundAsset> music_loops[8];

void load_music_loops()
{
    for (int n = 1; n <= 8; ++n) {
        const std::u16string location = u"incbin::sound" + std::u16string(1, u'0' + n) + u".wav";
        music_loops[n - 1] = load_sound(Text(location), 0);
    }
}

Ref<TSoundAsset> pick_music_loop()
{
    const MusicCycle cycle = plan_music_cycle();
    for (int i = 0; i < cycle.started_count; ++i)
        play_sound(music_loops[cycle.started[i] - 1], Ref<TVoice>());
    return music_loops[cycle.returned - 1];
}

} // namespace vantrel
