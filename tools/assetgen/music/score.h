// The shared musical frame of all eight loops: one length, one tempo, one key
// (D major) and one eight-bar chord progression, plus the cyclic stereo track
// that the loops are rendered into.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vantrel::assetgen {

inline constexpr int kBeatFrames = 11008;             // 120.17 beats per minute at 22050 Hz
inline constexpr int kBarFrames = kBeatFrames * 4;    // 4/4
inline constexpr int kBars = 8;
// A new music cycle starts every 16 s (plus at most one frame), so each loop
// ends 25 to 42 ms before the next set begins.
inline constexpr int kLoopFrames = kBarFrames * kBars;  // 352256 frames, 15.975 s

// Frame of a position given in beats from the loop start.
int beat_frame(double beat);

struct Chord {
    int bass;                   // root in the bass octave (MIDI)
    int bass_step;              // the quarter on beat 4 leading on
    std::array<int, 5> pad;     // voicing for beats 1 and 2
    std::array<int, 5> pad_late;  // voicing for beats 3 and 4
    std::array<int, 4> tones;   // pitch classes usable for figures, root first
};

// The progression: D, Bm7, Gmaj7, A, F#m7, Bm7, Em9, A7sus4 to A7.
const std::array<Chord, kBars>& progression();

// Every MIDI note in [low, high] whose pitch class is a tone of chord bar.
std::vector<int> chord_notes(int bar, int low, int high, bool late = false);

// One stereo loop being built. Writes wrap at the loop end, so a note that
// rings past the end continues at the start: every loop is seamless.
class Track {
public:
    Track();
    void add(int64_t frame, double left, double right);
    std::vector<double> left;
    std::vector<double> right;
};

struct Note {
    double beat;      // start, in beats from the loop start
    double beats;     // held length
    double pitch;     // MIDI note number
    double velocity;  // 0..1
    double pan;       // -1 left .. +1 right
};

// Equal-power pan gains for pan in [-1, 1].
void pan_gains(double pan, double& left, double& right);

}  // namespace vantrel::assetgen
