// Which music loops the channel table plays, for tests that follow the
// game's music choices.
#pragma once

#include <cstdint>
#include <vector>

namespace vantrel::test {

// A channel in use and the music loop on it (1 to 8; 0 for another sound).
struct ChannelLoop {
    uint32_t channel;
    int32_t loop;
};
// The channels in use, in the order they were handed out.
std::vector<ChannelLoop> music_on_channels();

} // namespace vantrel::test
