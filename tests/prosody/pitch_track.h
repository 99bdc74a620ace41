// Test helper: F0 measured on rendered speech, by normalised autocorrelation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvanel::prosody::testing {

// F0 in Hz of x[0, n) (22050 samples per second) searched between 70 and 180 Hz: the lag of
// the highest normalised autocorrelation (or the shortest lag within 10 % of it, so that a
// doubled period is not taken), refined by a parabola. 0 when x is too short or
// not periodic (peak below 0.5).
double AutocorrelationF0(const std::int16_t* x, std::size_t n);

// Semitones of hz relative to the designed 113.66 Hz.
double SemitonesOf(double hz);

}  // namespace orvanel::prosody::testing
