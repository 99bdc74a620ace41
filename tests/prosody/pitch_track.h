// Test helper: F0 measured on rendered speech, by normalised autocorrelation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvanel::prosody::testing {

// F0 in Hz of x[0, n) (22050 samples per second) searched between 70 and 180 Hz: the lag of
// the highest normalised autocorrelation (or the shortest lag within 10 % of it, so that a
// doubled period is not taken), refined by a parabola. 0 when x is too short or
// not periodic (peak below 0.5).
double AutocorrelationF0(const std::int16_t* x, std::size_t n);

// Semitones of hz relative to the designed 113.66 Hz.
double SemitonesOf(double hz);

// A frame-by-frame pitch track: every 10 ms, a 40 ms window, F0 searched between 65 and 250 Hz
// at any sample rate. A frame is voiced when its normalised autocorrelation peak is 0.6 or more
// and its level within 35 dB of the loudest frame; its value is then in semitones re 113.66 Hz,
// else NaN. A frame more than 8 semitones from the median of the voiced frames is moved by
// octaves toward it (an octave error), and a frame between two voiced ones takes the median of
// the three (a single spurious lag).
constexpr double kFrameMs = 10.0;
std::vector<double> PitchTrack(const std::int16_t* x, std::size_t n, double rate);

// What the docs report of a track. Steps, the peak and the final fall are read on the frames
// inside a voiced run (a voiced frame on each side): the first and last frame of a run have most
// of their window outside the voicing.
struct TrackStats {
  int stretches = 0;       // runs of 4 or more voiced frames (40 ms)
  int flatStretches = 0;   // those whose pitch spans less than 0.3 semitones
  double largestStep = 0;  // the largest change between neighbouring voiced frames, semitones
  double peak = 0;         // the highest voiced frame
  double finalFall = 0;    // the highest frame of the last 400 ms of voicing over the last frame
  double FlatShare() const { return stretches > 0 ? double(flatStretches) / stretches : 0.0; }
};
TrackStats StatsOf(const std::vector<double>& track);

}  // namespace orvanel::prosody::testing
