#include "tests/prosody/pitch_track.h"

#include <cmath>
#include <vector>

namespace orvanel::prosody::testing {

double AutocorrelationF0(const std::int16_t* x, std::size_t n) {
  constexpr double kRate = 22050.0;
  const std::size_t lo = static_cast<std::size_t>(kRate / 180.0);
  const std::size_t hi = static_cast<std::size_t>(kRate / 70.0);
  if (n < hi + lo) return 0.0;
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
  if (r[best] < 0.5) return 0.0;
  // Against octave errors: the shortest lag that is a local peak nearly as high as the best.
  for (std::size_t lag = lo; lag < best; ++lag) {
    if (r[lag] >= 0.9 * r[best] && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
      best = lag;
      break;
    }
  }
  const double a = r[best - 1], b = r[best], c = r[best + 1];
  const double denom = a - 2 * b + c;
  const double shift = denom != 0 ? 0.5 * (a - c) / denom : 0.0;
  return kRate / (static_cast<double>(best) + shift);
}

double SemitonesOf(double hz) { return 12.0 * std::log2(hz / (22050.0 / 194.0)); }

}  // namespace orvanel::prosody::testing
