#include "music_channels.h"

#include "audio/audio_system.h"
#include "audio/channel_table.h"
#include "audio/mixer/sound.h"
#include "audio/mixer_backend.h"
#include "game/music.h"

namespace vantrel::test {

std::vector<ChannelLoop> music_on_channels()
{
    std::vector<ChannelLoop> channels;
    channel_table* table = audio_channels();
    for (uint32_t i = 1; i < CHANNEL_SLOTS; ++i) {
        if (!table->in_use[i] || !table->sounds[i])
            continue;
        int32_t loop = 0;
        for (int32_t n = 1; n <= 8; ++n) {
            auto asset = ref_cast<TMixerSoundAsset>(music_loops[n - 1]);
            if (asset && asset->sample == table->sounds[i]->sample)
                loop = n;
        }
        channels.push_back({i, loop});
    }
    return channels;
}

} // namespace vantrel::test
