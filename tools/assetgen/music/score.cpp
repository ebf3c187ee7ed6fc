// Tempo grid, progression and the cyclic track.
#include "music/score.h"

#include "common/det_math.h"

#include <cstddef>

namespace vantrel::assetgen {

int beat_frame(double beat)
{
    return static_cast<int>(round_to_int(beat * kBeatFrames));
}

const std::array<Chord, kBars>& progression()
{
    // Pitch classes: D 2, E 4, F# 6, G 7, A 9, B 11, C# 1.
    static const std::array<Chord, kBars> chords{{
        {38, 45, {57, 62, 66, 69, 76}, {57, 62, 66, 69, 76}, {2, 6, 9, 4}},    // Dadd9
        {35, 42, {54, 59, 62, 66, 69}, {54, 59, 62, 66, 69}, {11, 2, 6, 9}},   // Bm7
        {43, 38, {55, 59, 62, 66, 71}, {55, 59, 62, 66, 71}, {7, 11, 2, 6}},   // Gmaj7
        {45, 40, {57, 62, 64, 69, 71}, {57, 61, 64, 69, 71}, {9, 2, 4, 11}},   // Asus4 to A(add9)
        {42, 37, {54, 57, 61, 64, 69}, {54, 57, 61, 64, 69}, {6, 9, 1, 4}},    // F#m7
        {35, 42, {54, 59, 62, 66, 69}, {54, 59, 62, 66, 69}, {11, 2, 6, 9}},   // Bm7
        {40, 47, {55, 59, 64, 66, 71}, {55, 59, 64, 66, 71}, {4, 7, 11, 2}},   // Em9
        {45, 43, {55, 57, 62, 64, 69}, {55, 57, 61, 64, 69}, {9, 2, 4, 7}},    // A7sus4 to A7
    }};
    return chords;
}

std::vector<int> chord_notes(int bar, int low, int high, bool late)
{
    const Chord& chord = progression()[static_cast<std::size_t>(bar % kBars)];
    std::array<int, 4> tones = chord.tones;
    if (late && bar % kBars == 3)
        tones = {9, 1, 4, 11};
    if (late && bar % kBars == 7)
        tones = {9, 1, 4, 7};
    std::vector<int> notes;
    for (int n = low; n <= high; ++n)
        for (int pc : tones)
            if (n % 12 == pc)
                notes.push_back(n);
    return notes;
}

Track::Track() : left(kLoopFrames, 0.0), right(kLoopFrames, 0.0) {}

void Track::add(int64_t frame, double l, double r)
{
    int64_t i = frame % kLoopFrames;
    if (i < 0)
        i += kLoopFrames;
    left[static_cast<std::size_t>(i)] += l;
    right[static_cast<std::size_t>(i)] += r;
}

void pan_gains(double pan, double& left, double& right)
{
    const double angle = (clamp(pan, -1.0, 1.0) + 1.0) * 0.125;  // quarter turn across the field
    left = cos_turns(angle);
    right = sin_turns(angle);
}

}  // namespace vantrel::assetgen
