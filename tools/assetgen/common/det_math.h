// Reproducible maths for the generators. Only +, -, *, / and sqrt, which
// IEEE 754 rounds exactly, are used on doubles (the targets build without
// fused multiply-add), so results do not depend on the C library's
// transcendental functions.
#pragma once

#include <cstdint>

namespace vantrel::assetgen {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 6.28318530717958647692;

// sin and cos of a phase given in turns (1 turn = 2 pi radians).
double sin_turns(double turns);
double cos_turns(double turns);

// e^x by range reduction on ln 2 and a Taylor series; ample for |x| < 700.
double exp_det(double x);

// 2^(semitones / 12): an equal-tempered frequency ratio.
double semitone_ratio(double semitones);

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double midi_hz(double note);

double clamp(double x, double lo, double hi);

// Cubic ease from 0 at edge0 to 1 at edge1, flat at both ends.
double smoothstep(double edge0, double edge1, double x);

// Nearest integer, halves away from zero.
int64_t round_to_int(double x);

// Rounds and clamps into 0..255 / the 16-bit signed range.
uint8_t to_byte(double x);
int16_t to_pcm16(double x);

}  // namespace vantrel::assetgen

namespace vantrel::assetgen {

// sin of a phase in turns from an 8192-step table with linear interpolation
// (error below 1e-7); the table is built from sin_turns on first use.
double table_sin(double turns);

}  // namespace vantrel::assetgen
