// Loop 8, the base bed.
#include "music/effects.h"
#include "music/loops.h"
#include "music/voices.h"

#include <array>

namespace vantrel::assetgen {
namespace {

// Pad voices tie across half bars that keep their note, so only moving
// voices re-attack.
void add_pads(Track& track)
{
    const auto& chords = progression();
    for (size_t voice = 0; voice < 5; ++voice) {
        const double pan = -0.5 + 0.25 * static_cast<double>(voice);
        double start = 0.0;
        int pitch = chords[0].pad[voice];
        for (int half = 1; half <= kBars * 2; ++half) {
            int next = -1;
            if (half < kBars * 2) {
                const Chord& c = chords[static_cast<size_t>(half / 2)];
                next = half % 2 == 0 ? c.pad[voice] : c.pad_late[voice];
            }
            if (next == pitch)
                continue;
            pad_note(track, {start, half * 2.0 - start, static_cast<double>(pitch), 0.9, pan});
            start = half * 2.0;
            pitch = next;
        }
    }
}

void add_bass_and_drums(Track& track, Random& random)
{
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& c = progression()[static_cast<size_t>(bar)];
        const double b0 = bar * 4.0;
        bass_note(track, {b0, 2.8, static_cast<double>(c.bass), 1.0, 0.0});
        bass_note(track, {b0 + 3.0, 0.85, static_cast<double>(c.bass_step), 0.7, 0.0});
        kick(track, b0, 1.0);
        kick(track, b0 + 2.0, 0.55);
        for (int eighth = 1; eighth < 8; eighth += 2)
            shaker(track, b0 + eighth * 0.5, eighth == 3 || eighth == 7 ? 0.8 : 0.55, 0.35, random);
    }
}

// Eighth notes over the chord: up and down, a varied turn in odd bars and a
// climb in the last bar leading back to the top. Small deterministic
// variations of loudness and timing keep it from sounding mechanical.
void add_arpeggio(Track& track, Random& random)
{
    static const std::array<std::array<size_t, 8>, 3> patterns{{
        {0, 1, 2, 3, 4, 3, 2, 1},
        {0, 2, 1, 3, 2, 4, 3, 1},
        {0, 1, 2, 3, 4, 5, 6, 7},
    }};
    for (int bar = 0; bar < kBars; ++bar) {
        const auto& pattern = patterns[bar == kBars - 1 ? 2 : static_cast<size_t>(bar % 2)];
        for (int eighth = 0; eighth < 8; ++eighth) {
            const auto notes = chord_notes(bar, 57, 74, eighth >= 4);
            const size_t index = pattern[static_cast<size_t>(eighth)] % notes.size();
            const double accent = eighth == 0 ? 0.95 : (eighth % 2 == 0 ? 0.75 : 0.62);
            const double velocity = accent * (1.0 + 0.08 * random.next_signed());
            const double nudge = 0.008 * random.next_signed();  // about 4 ms either way
            const double pan = eighth % 2 == 0 ? -0.3 : 0.3;
            epiano_note(track, {bar * 4.0 + eighth * 0.5 + nudge, 0.9, static_cast<double>(notes[index]), velocity, pan});
        }
    }
}

void add_tune(Track& track)
{
    struct TuneNote {
        double beat, beats;
        int pitch;
    };
    static const std::array<TuneNote, 28> tune{{
        {0, 1.5, 78},  {1.5, 0.5, 76}, {2, 1.5, 74},  {3.5, 0.5, 69},   // D
        {4, 1, 74},    {5, 1, 71},     {6, 2, 66},                      // Bm7
        {8, 1.5, 67},  {9.5, 0.5, 71}, {10, 1, 74},   {11, 1, 78},      // Gmaj7
        {12, 3, 76},   {15, 1, 73},                                     // Asus4, A
        {16, 1.5, 73}, {17.5, 0.5, 76}, {18, 1, 73},  {19, 1, 69},      // F#m7
        {20, 1.5, 71}, {21.5, 0.5, 74}, {22, 2, 78},                    // Bm7
        {24, 1, 79},   {25, 1, 78},    {26, 1, 76},   {27, 1, 74},      // Em9
        {28, 2, 76},   {30, 1, 73},    {31, 0.5, 71}, {31.5, 0.5, 69},  // A7sus4, A7
    }};
    for (size_t i = 0; i < tune.size(); ++i) {
        const TuneNote& n = tune[i];
        vibes_note(track, {n.beat, n.beats, static_cast<double>(n.pitch), i % 4 == 0 ? 0.9 : 0.75, 0.1});
    }
}

}  // namespace

Track compose_bed()
{
    Track track;
    Random random(0x0BEDu);
    add_pads(track);
    add_bass_and_drums(track, random);
    add_arpeggio(track, random);
    add_tune(track);
    cyclic_echo(track, beat_frame(0.75), 0.3, 0.12);
    cyclic_reverb(track, {0.80, 0.4, 0.22, 1.0});
    return track;
}

}  // namespace vantrel::assetgen
