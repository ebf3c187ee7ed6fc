// Final processing shared by all loops: level, edge fades, quantisation.
#include "music/music.h"

#include "music/effects.h"
#include "music/loops.h"

#include <array>
#include <stdexcept>

namespace vantrel::assetgen {

double music_loop_peak(int number)
{
    // Sustained layers sit lower so that every layer stays under the bed.
    static const std::array<double, 8> peaks{6300, 4500, 4800, 4200, 6300, 6300, 5500, 6500};
    return peaks.at(static_cast<size_t>(number - 1));
}

std::string music_loop_title(int number)
{
    static const std::array<const char*, 8> titles{
        "Vantrel loop 1: falling",        "Vantrel loop 2: rising",         "Vantrel loop 3: right wing sinks",
        "Vantrel loop 4: left wing sinks", "Vantrel loop 5: right wing rises", "Vantrel loop 6: left wing rises",
        "Vantrel loop 7: high flight",    "Vantrel loop 8: base"};
    return titles.at(static_cast<size_t>(number - 1));
}

StereoPcm render_music_loop(int number)
{
    if (number < 1 || number > 8)
        throw std::out_of_range("music loops are numbered 1 to 8");
    Track track = number == 8 ? compose_bed() : compose_layer(number);
    soften_peaks(track, 1.4, 0.55);
    set_peak(track, music_loop_peak(number));
    // 10 ms in, 20 ms out: the loop ends at silence and the next cycle starts
    // from silence a few tens of milliseconds later.
    fade_edges(track, 220, 441);
    return to_pcm(track);
}

}  // namespace vantrel::assetgen
