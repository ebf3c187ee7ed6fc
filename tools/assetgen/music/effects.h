// Whole-loop processing: cyclic reverb and echo (run over the loop twice so
// the tail that rings past the end is heard at the start), edge fades, level
// setting and conversion to 16-bit samples.
#pragma once

#include "common/wav_file.h"
#include "music/score.h"

namespace vantrel::assetgen {

struct ReverbSettings {
    double room = 0.82;     // comb feedback
    double damping = 0.35;  // high-frequency loss per pass
    double wet = 0.25;
    double dry = 1.0;
};

void cyclic_reverb(Track& track, const ReverbSettings& settings);

// Ping-pong echo: left feeds right and right feeds left.
void cyclic_echo(Track& track, int delay_frames, double feedback, double wet);

// Largest absolute sample of either channel.
double peak_of(const Track& track);

// Scales the track so its peak is target (no change for a silent track).
void set_peak(Track& track, double target);

// Rounds off the loudest peaks: the track is scaled so its peak is drive,
// then every sample beyond knee bends smoothly towards 1 without passing it.
// Lets a loop sit louder under the same peak.
void soften_peaks(Track& track, double drive, double knee);

// Raised fades over the first and last frames so the loop starts and ends at
// silence.
void fade_edges(Track& track, int fade_in_frames, int fade_out_frames);

StereoPcm to_pcm(const Track& track);

}  // namespace vantrel::assetgen
