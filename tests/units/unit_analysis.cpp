#include "tests/units/unit_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <numbers>

namespace orvanel::unit_tests {

std::string UnitPath(std::string_view name) {
  return std::string(ORVANEL_UNITS_DIR) + "/" + std::string(name);
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Samples ReadUnit(std::string_view name) {
  const std::vector<unsigned char> bytes = ReadBytes(UnitPath(name));
  Samples x(bytes.size() / 2);
  for (std::size_t i = 0; i < x.size(); ++i) {
    const auto u = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    x[i] = static_cast<std::int16_t>(u) / 32768.0;
  }
  return x;
}

int SampleIndex(double ms) { return static_cast<int>(std::lround(ms * kSampleRate / 1000.0)); }

double Rms(const Samples& x, int begin, int end) {
  begin = std::max(begin, 0);
  end = std::min(end, static_cast<int>(x.size()));
  double sum = 0;
  for (int i = begin; i < end; ++i) sum += x[i] * x[i];
  return end > begin ? std::sqrt(sum / (end - begin)) : 0.0;
}

double Rms(const Samples& x) { return Rms(x, 0, static_cast<int>(x.size())); }

double Peak(const Samples& x) {
  double p = 0;
  for (double v : x) p = std::max(p, std::abs(v));
  return p;
}

double Mean(const Samples& x) {
  double s = 0;
  for (double v : x) s += v;
  return x.empty() ? 0.0 : s / x.size();
}

double Db(double linear) { return 20.0 * std::log10(std::max(linear, 1e-12)); }

double MaxStep(const Samples& x) {
  double m = 0;
  for (std::size_t i = 1; i < x.size(); ++i) m = std::max(m, std::abs(x[i] - x[i - 1]));
  return m;
}

int StrongestStep(const Samples& x, int begin, int end) {
  int best = begin;
  for (int i = begin; i + 1 < end; ++i) {
    if (std::abs(x[i + 1] - x[i]) > std::abs(x[best + 1] - x[best])) best = i;
  }
  return best;
}

Samples Tile(const Samples& x, int count) {
  Samples out;
  for (int k = 0; k < count; ++k) out.insert(out.end(), x.begin(), x.end());
  return out;
}

std::vector<double> Lpc(const Samples& x, int order, double preemphasis) {
  const int n = static_cast<int>(x.size());
  Samples w(n);
  for (int i = 0; i < n; ++i) {
    const double pre = i > 0 ? x[i] - preemphasis * x[i - 1] : x[i];
    w[i] = pre * (0.54 - 0.46 * std::cos(2.0 * std::numbers::pi * i / (n - 1)));
  }
  std::vector<double> r(order + 1, 0.0);
  for (int k = 0; k <= order; ++k) {
    for (int i = k; i < n; ++i) r[k] += w[i] * w[i - k];
  }
  std::vector<double> a(order + 1, 0.0);
  a[0] = 1.0;
  double err = r[0];
  for (int i = 1; i <= order && err > 0; ++i) {
    double acc = r[i];
    for (int j = 1; j < i; ++j) acc += a[j] * r[i - j];
    const double k = -acc / err;
    std::vector<double> prev = a;
    for (int j = 1; j < i; ++j) a[j] = prev[j] + k * prev[i - j];
    a[i] = k;
    err *= 1.0 - k * k;
  }
  return a;
}

std::vector<double> LpcPeaks(const std::vector<double>& a) {
  constexpr double kStep = 2.0;
  std::vector<double> freqs, power;
  for (double f = 100.0; f <= 5200.0; f += kStep) {
    std::complex<double> sum = 0.0;
    const double w = 2.0 * std::numbers::pi * f / kSampleRate;
    for (std::size_t k = 0; k < a.size(); ++k) sum += a[k] * std::polar(1.0, -w * k);
    freqs.push_back(f);
    power.push_back(1.0 / std::norm(sum));
  }
  std::vector<double> peaks;
  for (std::size_t i = 1; i + 1 < power.size(); ++i) {
    if (freqs[i] >= 150.0 && freqs[i] <= 5000.0 && power[i] > power[i - 1] &&
        power[i] >= power[i + 1]) {
      peaks.push_back(freqs[i]);
    }
  }
  return peaks;
}

VowelFormants MeasureVowel(const Samples& period) {
  // Eight periods (70 ms) tiled; an order of 2 + fs/1000 models up to five formants.
  const Samples x = Tile(period, 8);
  const std::vector<double> peaks = LpcPeaks(Lpc(x, 24, 0.9));
  VowelFormants f;
  if (!peaks.empty()) f.f1 = peaks[0];
  if (peaks.size() > 1) f.f2 = peaks[1];
  return f;
}

int GlottalClosure(const Samples& x, int begin, int end, int context_begin, int context_end) {
  const Samples context(x.begin() + context_begin, x.begin() + context_end);
  const std::vector<double> a = Lpc(context, 18, 0.0);
  int best = begin;
  double lowest = 1e9;
  for (int i = begin; i < end; ++i) {
    double e = 0;
    for (int k = 0; k < static_cast<int>(a.size()) && i - k >= 0; ++k) e += a[k] * x[i - k];
    if (e < lowest) {
      lowest = e;
      best = i;
    }
  }
  return best;
}

Samples LowPass(const Samples& x, double corner_hz) {
  const double k = std::tan(std::numbers::pi * corner_hz / kSampleRate);
  const double q = std::sqrt(0.5);
  const double norm = 1.0 / (1.0 + k / q + k * k);
  const double b0 = k * k * norm, b1 = 2.0 * b0, b2 = b0;
  const double a1 = 2.0 * (k * k - 1.0) * norm, a2 = (1.0 - k / q + k * k) * norm;
  Samples y(x.size());
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    y[i] = b0 * x[i] + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x[i];
    y2 = y1;
    y1 = y[i];
  }
  return y;
}

double NormalisedAutocorrelation(const Samples& x, int begin, int end, int lag) {
  const int n = static_cast<int>(x.size());
  double xy = 0, xx = 0, yy = 0;
  end = std::min(end, n);
  for (int i = std::max(begin, 0); i + lag < end; ++i) {
    xy += x[i] * x[i + lag];
    xx += x[i] * x[i];
    yy += x[i + lag] * x[i + lag];
  }
  return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0.0;
}

double Periodicity(const Samples& x, int begin, int end, int lag_lo, int lag_hi) {
  double best = -1.0;
  for (int lag = lag_lo; lag <= lag_hi; ++lag) {
    best = std::max(best, NormalisedAutocorrelation(x, begin, end, lag));
  }
  return best;
}

namespace {

constexpr int kFrame = 256;

// Mean power spectrum (bins 0..kFrame/2) of Hann-windowed frames of x[begin, end), half
// overlapping; a region shorter than a frame is one frame of its own length, zero-padded.
std::vector<double> PowerSpectrum(const Samples& x, int begin, int end) {
  std::vector<double> spectrum(kFrame / 2 + 1, 0.0);
  begin = std::max(begin, 0);
  end = std::min(end, static_cast<int>(x.size()));
  const int len = std::min(kFrame, end - begin);
  if (len <= 1) return spectrum;
  int frames = 0;
  for (int start = begin; start + len <= end; start += std::max(len / 2, 1)) {
    for (int k = 0; k <= kFrame / 2; ++k) {
      std::complex<double> sum = 0.0;
      for (int i = 0; i < len; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / len);
        sum += w * x[start + i] * std::polar(1.0, -2.0 * std::numbers::pi * k * i / kFrame);
      }
      spectrum[k] += std::norm(sum) / len;
    }
    ++frames;
  }
  for (double& p : spectrum) p /= frames;
  return spectrum;
}

double BinHz(int k) { return k * kSampleRate / kFrame; }

}  // namespace

double SpectralCentroid(const Samples& x, int begin, int end) {
  const std::vector<double> p = PowerSpectrum(x, begin, end);
  double num = 0, den = 0;
  for (int k = 0; k < static_cast<int>(p.size()); ++k) {
    if (BinHz(k) < 500.0) continue;
    num += BinHz(k) * p[k];
    den += p[k];
  }
  return den > 0 ? num / den : 0.0;
}

double BandEnergyDb(const Samples& x, int begin, int end, double lo_hz, double hi_hz) {
  const std::vector<double> p = PowerSpectrum(x, begin, end);
  double sum = 0;
  for (int k = 0; k < static_cast<int>(p.size()); ++k) {
    if (BinHz(k) >= lo_hz && BinHz(k) < hi_hz) sum += p[k];
  }
  return 10.0 * std::log10(std::max(sum, 1e-20));
}

double Bark(double hz) { return 26.81 * hz / (1960.0 + hz) - 0.53; }

}  // namespace orvanel::unit_tests
