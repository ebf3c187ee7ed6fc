// Instrument voices: additive, FM and filtered-noise sounds.
#include "music/voices.h"

#include "common/det_math.h"
#include "common/wav_file.h"

#include <array>

namespace vantrel::assetgen {
namespace {

constexpr double kRate = kWavRate;

int seconds_frames(double seconds)
{
    return static_cast<int>(round_to_int(seconds * kRate));
}

// Per-frame factor that shrinks a value to 1/e after the given time.
double decay_factor(double seconds)
{
    return seconds <= 0 ? 0.0 : exp_det(-1.0 / (seconds * kRate));
}

struct Placement {
    int64_t start;
    double gain_left;
    double gain_right;
};

Placement place(const Note& note, double level)
{
    Placement p{beat_frame(note.beat), 0.0, 0.0};
    pan_gains(note.pan, p.gain_left, p.gain_right);
    p.gain_left *= level * note.velocity;
    p.gain_right *= level * note.velocity;
    return p;
}

int gate_of(const Note& note)
{
    return beat_frame(note.beats);
}

// Vibrato that fades in after a delay: a frequency multiplier near 1.
class Vibrato {
public:
    Vibrato(double rate_hz, double depth_semitones, double delay_s)
        : step_(rate_hz / kRate), depth_(semitone_ratio(depth_semitones) - 1.0), delay_(seconds_frames(delay_s))
    {
    }
    double next()
    {
        const double ramp = smoothstep(static_cast<double>(delay_), static_cast<double>(delay_ * 2 + 1),
                                       static_cast<double>(frame_++));
        phase_ += step_;
        return 1.0 + depth_ * ramp * table_sin(phase_);
    }

private:
    double step_;
    double depth_;
    int delay_;
    int frame_ = 0;
    double phase_ = 0.0;
};

// Harmonic partials with individual amplitudes and decay times.
template <size_t N>
struct Partials {
    std::array<double, N> amp;
    std::array<double, N> decay_s;  // 0 keeps the partial steady
};

}  // namespace

Adsr::Adsr(double attack_s, double decay_s, double sustain, double release_s, int gate_frames)
    : attack_(seconds_frames(attack_s) + 1), gate_(gate_frames), release_(seconds_frames(release_s) + 1),
      sustain_(sustain), decay_factor_(decay_factor(decay_s))
{
}

double Adsr::next()
{
    const int i = frame_++;
    if (i < gate_) {
        double level;
        if (i < attack_) {
            const double t = static_cast<double>(i) / attack_;
            level = t * t * (3.0 - 2.0 * t);
        } else {
            level = sustain_ + (1.0 - sustain_) * decay_;
            decay_ *= decay_factor_;
        }
        held_ = level;
        return level;
    }
    const int r = i - gate_;
    if (r >= release_)
        return 0.0;
    const double t = 1.0 - static_cast<double>(r) / release_;
    return held_ * t * t;
}

BandPass::BandPass(double centre_hz, double damping)
    : f_(2.0 * sin_turns(clamp(centre_hz, 20.0, kRate / 6.0) / kRate * 0.5)), damping_(damping)
{
}

double BandPass::process(double in)
{
    low_ += f_ * band_;
    const double high = in - low_ - damping_ * band_;
    band_ += f_ * high;
    return band_;
}

void pad_note(Track& track, const Note& note)
{
    const Placement p = place(note, 0.055);
    Adsr env(0.45, 1.2, 0.8, 0.9, gate_of(note));
    const double base = midi_hz(note.pitch) / kRate;
    const std::array<double, 7> amp{1.0, 0.42, 0.24, 0.12, 0.07, 0.035, 0.02};
    std::array<double, 7> phase_a{}, phase_b{};
    const double detune_a = semitone_ratio(0.06), detune_b = semitone_ratio(-0.06);
    double swell = note.pitch * 0.05;
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        swell += 0.23 / kRate;
        const double bright = 0.74 + 0.16 * table_sin(swell);
        double a = 0.0, b = 0.0, weight = 1.0;
        for (size_t k = 0; k < amp.size(); ++k) {
            phase_a[k] += base * detune_a * static_cast<double>(k + 1);
            phase_b[k] += base * detune_b * static_cast<double>(k + 1);
            a += amp[k] * weight * table_sin(phase_a[k]);
            b += amp[k] * weight * table_sin(phase_b[k] + 0.37 * static_cast<double>(k));
            weight *= bright;
        }
        track.add(p.start + i, e * (a * 0.8 + b * 0.2) * p.gain_left, e * (a * 0.2 + b * 0.8) * p.gain_right);
    }
}

void bass_note(Track& track, const Note& note)
{
    const Placement p = place(note, 0.30);
    Adsr env(0.012, 0.9, 0.55, 0.18, gate_of(note));
    const double step = midi_hz(note.pitch) / kRate;
    double phase = 0.0;
    double overtone = 1.0;
    const double overtone_decay = decay_factor(0.25);
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        phase += step;
        const double s = table_sin(phase) + 0.22 * table_sin(2.0 * phase) + 0.12 * overtone * table_sin(3.0 * phase);
        overtone *= overtone_decay;
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

void epiano_note(Track& track, const Note& note)
{
    const Placement p = place(note, 0.085);
    Adsr env(0.004, 0.9, 0.0, 0.12, gate_of(note));
    const double step = midi_hz(note.pitch) / kRate;
    double carrier = 0.0, modulator = 0.0, tine = 0.0;
    double index = 1.1, tine_level = 0.22;
    const double index_decay = decay_factor(0.35), tine_decay = decay_factor(0.05);
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        carrier += step;
        modulator += step;
        tine += step * 7.0;
        const double s = table_sin(carrier + index * 0.159 * table_sin(modulator)) + tine_level * table_sin(tine);
        index *= index_decay;
        tine_level *= tine_decay;
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

void vibes_note(Track& track, const Note& note)
{
    const Placement p = place(note, 0.10);
    Adsr env(0.003, 1.6, 0.0, 0.3, gate_of(note));
    const double step = midi_hz(note.pitch) / kRate;
    double phase = 0.0, upper = 0.0, trem = 0.0;
    double upper_level = 0.35;
    const double upper_decay = decay_factor(0.18);
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        phase += step;
        upper += step * 4.0;
        trem += 5.5 / kRate;
        const double s = (table_sin(phase) + upper_level * table_sin(upper)) * (0.88 + 0.12 * table_sin(trem));
        upper_level *= upper_decay;
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

void kick(Track& track, double beat, double velocity)
{
    const Placement p = place({beat, 0.5, 0.0, velocity, 0.0}, 0.24);
    Adsr env(0.002, 0.16, 0.0, 0.05, seconds_frames(0.35));
    double freq = 105.0;
    const double sweep = decay_factor(0.045);
    double phase = 0.0;
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        phase += freq / kRate;
        freq = 46.0 + (freq - 46.0) * sweep;
        const double s = table_sin(phase);
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

void shaker(Track& track, double beat, double velocity, double pan, Random& random)
{
    const Placement p = place({beat, 0.1, 0.0, velocity, pan}, 0.045);
    Adsr env(0.012, 0.035, 0.0, 0.03, seconds_frames(0.09));
    BandPass colour(6500.0, 0.9);
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        const double s = colour.process(random.next_signed());
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

void marimba_note(Track& track, const Note& note)
{
    const Placement p = place(note, 0.16);
    Adsr env(0.002, 0.42, 0.0, 0.08, gate_of(note));
    const double step = midi_hz(note.pitch) / kRate;
    double phase = 0.0, upper = 0.0, upper_level = 0.45;
    const double upper_decay = decay_factor(0.06);
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        phase += step;
        upper += step * 3.93;
        const double s = table_sin(phase) + upper_level * table_sin(upper);
        upper_level *= upper_decay;
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

void flute_note(Track& track, const Note& note, Random& random)
{
    const Placement p = place(note, 0.11);
    Adsr env(0.05, 0.4, 0.75, 0.16, gate_of(note));
    const double step = midi_hz(note.pitch) / kRate;
    Vibrato vibrato(5.2, 0.12, 0.18);
    BandPass breath(midi_hz(note.pitch) * 2.0, 0.5);
    double phase = 0.0;
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        phase += step * vibrato.next();
        const double tone = table_sin(phase) + 0.18 * table_sin(2.0 * phase) + 0.06 * table_sin(3.0 * phase);
        const double s = tone + 0.10 * breath.process(random.next_signed());
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

namespace {

// A bowed or blown sustained tone whose pitch sags at the end of the note.
template <size_t N>
void sustained_note(Track& track, const Note& note, double level, const Partials<N>& partials,
                    double droop_semitones, double attack_s)
{
    const Placement p = place(note, level);
    const int gate = gate_of(note);
    Adsr env(attack_s, 0.8, 0.8, 0.35, gate);
    const double step = midi_hz(note.pitch) / kRate;
    const double droop = semitone_ratio(-droop_semitones) - 1.0;
    Vibrato vibrato(4.6, 0.10, 0.30);
    std::array<double, N> phase{};
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        const double sag = smoothstep(gate * 0.75, gate * 1.1, static_cast<double>(i));
        const double f = step * vibrato.next() * (1.0 + droop * sag);
        double s = 0.0;
        for (size_t k = 0; k < N; ++k) {
            phase[k] += f * static_cast<double>(k + 1);
            s += partials.amp[k] * table_sin(phase[k]);
        }
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

}  // namespace

void cello_note(Track& track, const Note& note, double droop_semitones)
{
    static const Partials<8> partials{{1.0, 0.55, 0.38, 0.22, 0.16, 0.10, 0.07, 0.04}, {}};
    sustained_note(track, note, 0.085, partials, droop_semitones, 0.16);
}

void horn_note(Track& track, const Note& note, double droop_semitones)
{
    static const Partials<6> partials{{1.0, 0.30, 0.26, 0.08, 0.07, 0.02}, {}};
    sustained_note(track, note, 0.10, partials, droop_semitones, 0.22);
}

void harp_note(Track& track, const Note& note)
{
    const Placement p = place(note, 0.12);
    Adsr env(0.002, 2.0, 0.0, 0.25, gate_of(note));
    const double step = midi_hz(note.pitch) / kRate;
    std::array<double, 6> phase{}, level{1.0, 0.5, 0.30, 0.16, 0.08, 0.05}, decay{};
    for (size_t k = 0; k < decay.size(); ++k)
        decay[k] = decay_factor(1.4 / static_cast<double>(k + 1));
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        double s = 0.0;
        for (size_t k = 0; k < phase.size(); ++k) {
            phase[k] += step * static_cast<double>(k + 1);
            s += level[k] * table_sin(phase[k]);
            level[k] *= decay[k];
        }
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

void celesta_note(Track& track, const Note& note)
{
    const Placement p = place(note, 0.11);
    Adsr env(0.002, 1.1, 0.0, 0.2, gate_of(note));
    const double step = midi_hz(note.pitch) / kRate;
    double carrier = 0.0, modulator = 0.0, index = 0.9;
    const double index_decay = decay_factor(0.22);
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        carrier += step;
        modulator += step * 3.0;
        const double s = table_sin(carrier + index * 0.159 * table_sin(modulator));
        index *= index_decay;
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

void air_note(Track& track, const Note& note, Random& random)
{
    const Placement p = place(note, 0.075);
    Adsr env(0.35, 1.0, 0.85, 0.8, gate_of(note));
    const double hz = midi_hz(note.pitch);
    Vibrato vibrato(4.1, 0.09, 0.4);
    BandPass breath(hz, 0.12);
    double phase = 0.0, wobble = 0.0;
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        phase += hz / kRate * vibrato.next();
        wobble += 0.7 / kRate;
        const double s = 0.8 * table_sin(phase) + 0.35 * breath.process(random.next_signed());
        const double width = 0.15 * table_sin(wobble);
        track.add(p.start + i, e * s * p.gain_left * (1.0 + width), e * s * p.gain_right * (1.0 - width));
    }
}

void shimmer_note(Track& track, const Note& note)
{
    const Placement p = place(note, 0.032);
    Adsr env(0.8, 1.0, 1.0, 1.2, gate_of(note));
    const double step = midi_hz(note.pitch) / kRate;
    double phase = 0.0, trem = note.pitch * 0.013;
    for (int i = 0; i < env.total_frames(); ++i) {
        const double e = env.next();
        phase += step;
        trem += 0.35 / kRate;
        const double s = table_sin(phase) * (0.7 + 0.3 * table_sin(trem));
        track.add(p.start + i, e * s * p.gain_left, e * s * p.gain_right);
    }
}

}  // namespace vantrel::assetgen
