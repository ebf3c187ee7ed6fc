// The instruments of the loops. Each renders one note additively into a
// track: phase-accumulating oscillators from the sine table, ADSR envelopes
// by recurrence, noise from the seeded generator, so a note is the same
// bits on every run.
#pragma once

#include "common/noise.h"
#include "music/score.h"

namespace vantrel::assetgen {

// Attack, decay towards sustain, linear release after the held length.
class Adsr {
public:
    Adsr(double attack_s, double decay_s, double sustain, double release_s, int gate_frames);
    int total_frames() const { return gate_ + release_; }
    double next();

private:
    int attack_;
    int gate_;
    int release_;
    int frame_ = 0;
    double sustain_;
    double decay_factor_;
    double decay_ = 1.0;
    double held_ = 0.0;
};

// Band-pass state-variable filter for breath and noise colours.
class BandPass {
public:
    BandPass(double centre_hz, double damping);
    double process(double in);
    double low() const { return low_; }

private:
    double f_;
    double damping_;
    double low_ = 0.0;
    double band_ = 0.0;
};

// Bed instruments.
void pad_note(Track& track, const Note& note);
void bass_note(Track& track, const Note& note);
void epiano_note(Track& track, const Note& note);
void vibes_note(Track& track, const Note& note);
void kick(Track& track, double beat, double velocity);
void shaker(Track& track, double beat, double velocity, double pan, Random& random);

// Layer instruments.
void marimba_note(Track& track, const Note& note);
void flute_note(Track& track, const Note& note, Random& random);
void cello_note(Track& track, const Note& note, double droop_semitones);
void horn_note(Track& track, const Note& note, double droop_semitones);
void harp_note(Track& track, const Note& note);
void celesta_note(Track& track, const Note& note);
void air_note(Track& track, const Note& note, Random& random);
void shimmer_note(Track& track, const Note& note);

}  // namespace vantrel::assetgen
