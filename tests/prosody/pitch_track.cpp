#include "tests/prosody/pitch_track.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace orvanel::prosody::testing {

namespace {

// The normalised autocorrelation's best lag in x[0, n) between lo and hi, with its height, with a
// guard against octave errors: the shortest lag that is a local peak nearly as high as the best.
double BestLag(const std::int16_t* x, std::size_t n, std::size_t lo, std::size_t hi,
               double& height) {
  std::vector<double> r(hi + 2, 0.0);
  for (std::size_t lag = lo - 1; lag <= hi + 1; ++lag) {
    double xy = 0, xx = 0, yy = 0;
    for (std::size_t i = 0; i + lag < n; ++i) {
      const double a = x[i], b = x[i + lag];
      xy += a * b;
      xx += a * a;
      yy += b * b;
    }
    r[lag] = xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0.0;
  }
  std::size_t best = lo;
  for (std::size_t lag = lo; lag <= hi; ++lag)
    if (r[lag] > r[best]) best = lag;
  height = r[best];
  for (std::size_t lag = lo; lag < best; ++lag) {
    if (r[lag] >= 0.9 * r[best] && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
      best = lag;
      break;
    }
  }
  const double a = r[best - 1], b = r[best], c = r[best + 1];
  const double denom = a - 2 * b + c;
  return static_cast<double>(best) + (denom != 0 ? 0.5 * (a - c) / denom : 0.0);
}

}  // namespace

double AutocorrelationF0(const std::int16_t* x, std::size_t n) {
  constexpr double kRate = 22050.0;
  const std::size_t lo = static_cast<std::size_t>(kRate / 180.0);
  const std::size_t hi = static_cast<std::size_t>(kRate / 70.0);
  if (n < hi + lo) return 0.0;
  double height = 0;
  const double lag = BestLag(x, n, lo, hi, height);
  return height < 0.5 ? 0.0 : kRate / lag;
}

double SemitonesOf(double hz) { return 12.0 * std::log2(hz / (22050.0 / 194.0)); }

std::vector<double> PitchTrack(const std::int16_t* x, std::size_t n, double rate) {
  const auto hop = static_cast<std::size_t>(rate * kFrameMs / 1000.0);
  const auto window = 4 * hop;
  const auto lo = static_cast<std::size_t>(rate / 250.0);
  const auto hi = static_cast<std::size_t>(rate / 65.0);
  std::vector<double> track, energy;
  for (std::size_t at = 0; at + window <= n; at += hop) {
    double e = 0;
    for (std::size_t i = 0; i < window; ++i) e += double(x[at + i]) * x[at + i];
    energy.push_back(e / static_cast<double>(window));
  }
  const double loudest = energy.empty() ? 0 : *std::max_element(energy.begin(), energy.end());
  for (std::size_t f = 0; f < energy.size(); ++f) {
    double height = 0;
    const double lag =
        energy[f] > loudest * 3.2e-4 ? BestLag(x + f * hop, window, lo, hi, height) : 0.0;
    track.push_back(height >= 0.6 && lag > 0 ? SemitonesOf(rate / lag)
                                             : std::numeric_limits<double>::quiet_NaN());
  }
  // Octave errors: a frame more than 8 semitones from the median of the voiced frames is taken
  // an octave nearer to it (a speaker's range around its median is narrower than that).
  std::vector<double> voiced;
  for (double v : track)
    if (!std::isnan(v)) voiced.push_back(v);
  if (voiced.empty()) return track;
  std::nth_element(voiced.begin(), voiced.begin() + voiced.size() / 2, voiced.end());
  const double median = voiced[voiced.size() / 2];
  for (double& v : track) {
    while (!std::isnan(v) && v > median + 8.0) v -= 12.0;
    while (!std::isnan(v) && v < median - 8.0) v += 12.0;
  }
  // A single frame off its two voiced neighbours (a spurious lag) takes their median.
  std::vector<double> smoothed = track;
  for (std::size_t f = 1; f + 1 < track.size(); ++f) {
    if (std::isnan(track[f - 1]) || std::isnan(track[f]) || std::isnan(track[f + 1])) continue;
    double three[] = {track[f - 1], track[f], track[f + 1]};
    std::sort(three, three + 3);
    smoothed[f] = three[1];
  }
  return smoothed;
}

TrackStats StatsOf(const std::vector<double>& track) {
  TrackStats s;
  s.peak = -std::numeric_limits<double>::infinity();
  const auto voiced = [&](std::size_t f) { return f < track.size() && !std::isnan(track[f]); };
  // The first and last frame of a voiced run have most of their window outside the voicing:
  // steps, the peak and the final fall are read on the frames inside a run.
  const auto inside = [&](std::size_t f) {
    return f > 0 && voiced(f - 1) && voiced(f) && voiced(f + 1);
  };
  std::size_t run = 0;
  double lo = 0, hi = 0;
  auto close = [&] {
    if (run >= 4) {
      ++s.stretches;
      if (hi - lo < 0.3) ++s.flatStretches;
    }
    run = 0;
  };
  std::size_t last = track.size();
  for (std::size_t f = 0; f < track.size(); ++f) {
    const double v = track[f];
    if (!voiced(f)) {
      close();
      continue;
    }
    if (inside(f)) {
      last = f;
      s.peak = std::max(s.peak, v);
      if (inside(f - 1)) s.largestStep = std::max(s.largestStep, std::abs(v - track[f - 1]));
    }
    lo = run == 0 ? v : std::min(lo, v);
    hi = run == 0 ? v : std::max(hi, v);
    ++run;
  }
  close();
  if (last < track.size()) {
    const auto frames = static_cast<std::size_t>(400.0 / kFrameMs);
    double top = track[last];
    for (std::size_t f = last >= frames ? last - frames : 0; f <= last; ++f)
      if (inside(f)) top = std::max(top, track[f]);
    s.finalFall = top - track[last];
  }
  return s;
}

}  // namespace orvanel::prosody::testing
