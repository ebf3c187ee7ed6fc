// Loops 1 to 7, the layers the scheduler adds over the bed.
#include "music/effects.h"
#include "music/loops.h"
#include "music/voices.h"

#include <algorithm>
#include <cstdlib>

namespace vantrel::assetgen {
namespace {

// Falling marimba cascades: the bird has just dropped.
Track falling_layer()
{
    Track track;
    for (int bar = 0; bar < kBars; ++bar) {
        auto notes = chord_notes(bar, 69, 88);
        std::reverse(notes.begin(), notes.end());
        const double b0 = bar * 4.0;
        for (size_t i = 0; i < 6 && i < notes.size(); ++i) {
            const double pan = 0.35 - 0.12 * static_cast<double>(i);
            marimba_note(track, {b0 + 0.5 + 0.25 * i, 0.5, static_cast<double>(notes[i]), 0.95 - 0.06 * i, pan});
        }
        const auto low = chord_notes(bar, 62, 76, true);
        for (size_t i = 0; i < 3; ++i) {
            const int pitch = low[low.size() - 1 - i];
            marimba_note(track, {b0 + 2.5 + 0.5 * i, 0.6, static_cast<double>(pitch), 0.7 - 0.08 * i, -0.2});
        }
    }
    cyclic_echo(track, beat_frame(0.75), 0.35, 0.3);
    cyclic_reverb(track, {0.80, 0.35, 0.3, 1.0});
    return track;
}

// Rising flute runs: the bird has just risen.
Track rising_layer()
{
    Track track;
    Random random(0xF1u);
    for (int bar = 0; bar < kBars; ++bar) {
        const auto notes = chord_notes(bar, 62, 86, bar % 2 == 1);
        const double b0 = bar * 4.0;
        const bool long_run = bar % 2 == 0;
        const size_t count = long_run ? 5 : 4;
        const size_t first = long_run ? 1 : 3;
        const double start = b0 + (long_run ? 1.0 : 2.0);
        for (size_t i = 0; i < count; ++i) {
            const bool last = i + 1 == count;
            const double beats = last ? (long_run ? 1.6 : 1.3) : 0.3;
            flute_note(track, {start + i / 3.0, beats, static_cast<double>(notes[first + i]), last ? 0.9 : 0.7, -0.1},
                       random);
        }
    }
    cyclic_echo(track, beat_frame(0.75), 0.3, 0.25);
    cyclic_reverb(track, {0.82, 0.4, 0.3, 1.0});
    return track;
}

// The chord tone just below previous (wrapping back to the top of the
// window), so consecutive notes keep falling.
int next_lower(int bar, bool late, int previous, int low, int high)
{
    const auto notes = chord_notes(bar, low, high, late);
    for (auto it = notes.rbegin(); it != notes.rend(); ++it)
        if (*it < previous)
            return *it;
    return notes.back();
}

Track sinking_layer(bool right)
{
    Track track;
    const int low = right ? 50 : 57;
    const int high = right ? 66 : 72;
    int pitch = high + 1;
    for (int bar = 0; bar < kBars; ++bar) {
        for (int half = 0; half < 2; ++half) {
            pitch = next_lower(bar, half == 1, pitch, low, high);
            const Note note{bar * 4.0 + half * 2.0 + (right ? 0.0 : 1.0), right ? 1.9 : 1.7,
                            static_cast<double>(pitch), half == 0 ? 0.85 : 0.75, right ? 0.65 : -0.65};
            if (right)
                cello_note(track, note, 0.3);
            else
                horn_note(track, note, 0.4);
        }
    }
    cyclic_reverb(track, {0.82, 0.45, 0.3, 1.0});
    return track;
}

Track rising_wing_layer(bool right)
{
    Track track;
    for (int bar = 0; bar < kBars; ++bar) {
        const double b0 = bar * 4.0;
        for (int half = 0; half < 2; ++half) {
            const auto notes = chord_notes(bar, right ? 62 : 69, right ? 86 : 93, half == 1);
            const size_t first = half == 0 ? 0 : 2;
            const int count = right ? 3 : 4;
            const double step = right ? 0.5 : 0.25;
            const double start = b0 + half * 2.0 + (right ? 0.5 : 1.0);
            for (int i = 0; i < count; ++i) {
                const Note note{start + i * step, 0.8, static_cast<double>(notes[first + static_cast<size_t>(i)]),
                                0.6 + 0.1 * i, right ? 0.6 : -0.6};
                if (right)
                    harp_note(track, note);
                else
                    celesta_note(track, note);
            }
        }
    }
    cyclic_echo(track, beat_frame(1.5), 0.3, 0.2);
    cyclic_reverb(track, {0.84, 0.3, 0.35, 1.0});
    return track;
}

// The chord tone nearest to previous that differs from it, preferring the
// given direction, so the tune moves gently.
int nearest_move(int bar, bool late, int previous, bool upward)
{
    const auto notes = chord_notes(bar, 78, 93, late);
    int best = notes.front();
    int best_cost = 1000;
    for (int n : notes) {
        if (n == previous)
            continue;
        const int cost = std::abs(n - previous) * 2 + ((n > previous) == upward ? 0 : 3);
        if (cost < best_cost) {
            best = n;
            best_cost = cost;
        }
    }
    return best;
}

Track high_flight_layer()
{
    Track track;
    Random random(0xA1Eu);
    int pitch = 83;
    for (int bar = 0; bar < kBars; ++bar) {
        for (int half = 0; half < 2; ++half) {
            pitch = nearest_move(bar, half == 1, pitch, (bar + half) % 3 != 2);
            air_note(track, {bar * 4.0 + half * 2.0, 1.85, static_cast<double>(pitch), 0.85, half == 0 ? -0.25 : 0.25},
                     random);
        }
        const auto high = chord_notes(bar, 86, 98);
        shimmer_note(track, {bar * 4.0, 3.8, static_cast<double>(high[0]), 0.8, -0.7});
        shimmer_note(track, {bar * 4.0, 3.8, static_cast<double>(high[2]), 0.7, 0.7});
    }
    cyclic_echo(track, beat_frame(1.5), 0.35, 0.25);
    cyclic_reverb(track, {0.88, 0.3, 0.55, 0.9});
    return track;
}

}  // namespace

Track compose_layer(int loop)
{
    switch (loop) {
    case 1: return falling_layer();
    case 2: return rising_layer();
    case 3: return sinking_layer(true);
    case 4: return sinking_layer(false);
    case 5: return rising_wing_layer(true);
    case 6: return rising_wing_layer(false);
    default: return high_flight_layer();
    }
}

}  // namespace vantrel::assetgen
