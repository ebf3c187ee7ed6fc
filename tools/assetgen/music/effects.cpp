// Reverb (parallel damped combs into series all-passes), echo, fades, levels.
#include "music/effects.h"

#include "common/det_math.h"

#include <array>
#include <cmath>
#include <vector>

namespace vantrel::assetgen {
namespace {

class Comb {
public:
    explicit Comb(size_t length) : buffer_(length, 0.0) {}
    double process(double in, double feedback, double damping)
    {
        const double out = buffer_[pos_];
        store_ = out * (1.0 - damping) + store_ * damping;
        buffer_[pos_] = in + store_ * feedback;
        pos_ = (pos_ + 1) % buffer_.size();
        return out;
    }

private:
    std::vector<double> buffer_;
    size_t pos_ = 0;
    double store_ = 0.0;
};

class AllPass {
public:
    explicit AllPass(size_t length) : buffer_(length, 0.0) {}
    double process(double in)
    {
        const double delayed = buffer_[pos_];
        buffer_[pos_] = in + delayed * 0.5;
        pos_ = (pos_ + 1) % buffer_.size();
        return delayed - in;
    }

private:
    std::vector<double> buffer_;
    size_t pos_ = 0;
};

// One channel of the reverb; spread lengthens every delay for stereo width.
class ReverbChannel {
public:
    explicit ReverbChannel(size_t spread)
    {
        static const std::array<size_t, 8> combs{558, 594, 639, 678, 711, 746, 779, 809};
        static const std::array<size_t, 4> passes{278, 221, 171, 113};
        for (size_t length : combs)
            combs_.emplace_back(length + spread);
        for (size_t length : passes)
            passes_.emplace_back(length + spread);
    }
    double process(double in, const ReverbSettings& s)
    {
        double out = 0.0;
        for (Comb& comb : combs_)
            out += comb.process(in * 0.015, s.room, s.damping);
        for (AllPass& pass : passes_)
            out = pass.process(out);
        return out;
    }

private:
    std::vector<Comb> combs_;
    std::vector<AllPass> passes_;
};

}  // namespace

void cyclic_reverb(Track& track, const ReverbSettings& settings)
{
    ReverbChannel left(0), right(11);
    std::vector<double> wet_left(track.left.size()), wet_right(track.right.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < track.left.size(); ++i) {
            const double mono = (track.left[i] + track.right[i]) * 0.5;
            wet_left[i] = left.process(mono, settings);
            wet_right[i] = right.process(mono, settings);
        }
    }
    for (size_t i = 0; i < track.left.size(); ++i) {
        track.left[i] = track.left[i] * settings.dry + wet_left[i] * settings.wet;
        track.right[i] = track.right[i] * settings.dry + wet_right[i] * settings.wet;
    }
}

void cyclic_echo(Track& track, int delay_frames, double feedback, double wet)
{
    const size_t n = track.left.size();
    const auto delay = static_cast<size_t>(delay_frames);
    std::vector<double> echo_left(n, 0.0), echo_right(n, 0.0);
    double soft_left = 0.0, soft_right = 0.0;
    // Three rounds settle the feedback into its steady cyclic state.
    for (int round = 0; round < 3; ++round) {
        for (size_t i = 0; i < n; ++i) {
            const size_t from = (i + n - delay) % n;
            soft_left = soft_left * 0.45 + (track.right[from] + echo_right[from] * feedback) * 0.55;
            soft_right = soft_right * 0.45 + (track.left[from] + echo_left[from] * feedback) * 0.55;
            echo_left[i] = soft_left;
            echo_right[i] = soft_right;
        }
    }
    for (size_t i = 0; i < n; ++i) {
        track.left[i] += echo_left[i] * wet;
        track.right[i] += echo_right[i] * wet;
    }
}

double peak_of(const Track& track)
{
    double peak = 0.0;
    for (size_t i = 0; i < track.left.size(); ++i)
        peak = std::fmax(peak, std::fmax(std::fabs(track.left[i]), std::fabs(track.right[i])));
    return peak;
}

void set_peak(Track& track, double target)
{
    const double peak = peak_of(track);
    if (peak <= 0.0)
        return;
    const double gain = target / peak;
    for (size_t i = 0; i < track.left.size(); ++i) {
        track.left[i] *= gain;
        track.right[i] *= gain;
    }
}

void soften_peaks(Track& track, double drive, double knee)
{
    set_peak(track, drive);
    const auto bend = [knee](double x) {
        const double a = std::fabs(x);
        if (a <= knee)
            return x;
        const double z = 2.0 * (a - knee) / (1.0 - knee);
        const double shaped = knee + (1.0 - knee) * (1.0 - 2.0 / (exp_det(z) + 1.0));  // tanh
        return x < 0 ? -shaped : shaped;
    };
    for (size_t i = 0; i < track.left.size(); ++i) {
        track.left[i] = bend(track.left[i]);
        track.right[i] = bend(track.right[i]);
    }
}

void fade_edges(Track& track, int fade_in_frames, int fade_out_frames)
{
    const size_t n = track.left.size();
    for (int i = 0; i < fade_in_frames; ++i) {
        const double g = smoothstep(0.0, fade_in_frames, i);
        track.left[static_cast<size_t>(i)] *= g;
        track.right[static_cast<size_t>(i)] *= g;
    }
    for (int i = 0; i < fade_out_frames; ++i) {
        const double g = smoothstep(0.0, fade_out_frames, i);
        track.left[n - 1 - static_cast<size_t>(i)] *= g;
        track.right[n - 1 - static_cast<size_t>(i)] *= g;
    }
}

StereoPcm to_pcm(const Track& track)
{
    StereoPcm pcm(track.left.size() * 2);
    for (size_t i = 0; i < track.left.size(); ++i) {
        pcm[2 * i] = to_pcm16(track.left[i]);
        pcm[2 * i + 1] = to_pcm16(track.right[i]);
    }
    return pcm;
}

}  // namespace vantrel::assetgen
