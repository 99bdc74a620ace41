#include "tools/unitgen/dsp.h"

#include <cmath>
#include <numbers>

namespace orvanel::unitgen {

[[gnu::noipa]] double Exp(double x) { return std::exp(x); }
[[gnu::noipa]] double Log(double x) { return std::log(x); }
[[gnu::noipa]] double Cos(double x) { return std::cos(x); }
[[gnu::noipa]] double Tan(double x) { return std::tan(x); }
[[gnu::noipa]] double Sqrt(double x) { return std::sqrt(x); }
[[gnu::noipa]] double Pow10(double x) { return std::pow(10.0, x); }

double DbToLinear(double db) { return db <= -90.0 ? 0.0 : Pow10(db / 20.0); }

double LinearToDb(double linear) { return 20.0 * Log(linear) / Log(10.0); }

int Ms(double ms) { return static_cast<int>(std::lround(ms * kSampleRate / 1000.0)); }

namespace {

GlottalCycle MakeGlottalCycle() {
  constexpr double kOpenQuotient = 0.60;
  constexpr double kSpeedQuotient = 2.5;
  const double open = kOpenQuotient * kPeriod;                       // 116.4 samples
  const double rise = open * kSpeedQuotient / (1 + kSpeedQuotient);  // 83.1
  const double fall = open - rise;                                   // 33.3
  std::array<double, kPeriod + 1> flow{};
  for (int t = 0; t <= kPeriod; ++t) {
    if (t < rise) {
      flow[t] = 0.5 * (1.0 - Cos(std::numbers::pi * t / rise));
    } else if (t < open) {
      flow[t] = Cos(0.5 * std::numbers::pi * (t - rise) / fall);
    }
  }
  GlottalCycle cycle;
  for (int t = 0; t < kPeriod; ++t) cycle.excitation[t] = flow[t + 1] - flow[t];
  cycle.closure = static_cast<int>(std::lround(open));
  return cycle;
}

struct Coefficients {
  double a, b, c;
};

Coefficients ResonatorCoefficients(double frequency, double bandwidth) {
  const double c = -Exp(-2.0 * std::numbers::pi * bandwidth / kSampleRate);
  const double b = 2.0 * Exp(-std::numbers::pi * bandwidth / kSampleRate) *
                   Cos(2.0 * std::numbers::pi * frequency / kSampleRate);
  return {1.0 - b - c, b, c};
}

}  // namespace

const GlottalCycle& Glottis() {
  static const GlottalCycle cycle = MakeGlottalCycle();
  return cycle;
}

double Resonator::Step(double x, double frequency, double bandwidth) {
  const Coefficients k = ResonatorCoefficients(frequency, bandwidth);
  const double y = k.a * x + k.b * y1_ + k.c * y2_;
  y2_ = y1_;
  y1_ = y;
  return y;
}

double AntiResonator::Step(double x, double frequency, double bandwidth) {
  const Coefficients k = ResonatorCoefficients(frequency, bandwidth);
  const double y = (x - k.b * x1_ - k.c * x2_) / k.a;
  x2_ = x1_;
  x1_ = x;
  return y;
}

double Biquad::Step(double x) {
  const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
  x2 = x1;
  x1 = x;
  y2 = y1;
  y1 = y;
  return y;
}

Butterworth::Butterworth(Kind kind, int order, double corner_hz) {
  const double k = Tan(std::numbers::pi * corner_hz / kSampleRate);  // prewarped
  const bool high = kind == Kind::kHighPass;
  if (order == 1) {
    // H(s) = 1 / (s + 1) or s / (s + 1), bilinear.
    Biquad s;
    const double norm = 1.0 / (1.0 + k);
    s.b0 = high ? norm : k * norm;
    s.b1 = high ? -norm : k * norm;
    s.a1 = (k - 1.0) * norm;
    sections_.push_back(s);
    return;
  }
  // Pole-pair quality factors of the Butterworth prototype of order 2 and 4.
  const std::vector<double> qs = order == 2
                                     ? std::vector<double>{0.7071067811865476}
                                     : std::vector<double>{0.5411961001461970, 1.3065629648763766};
  for (double q : qs) {
    Biquad s;
    const double norm = 1.0 / (1.0 + k / q + k * k);
    if (high) {
      s.b0 = norm;
      s.b1 = -2.0 * norm;
      s.b2 = norm;
    } else {
      s.b0 = k * k * norm;
      s.b1 = 2.0 * k * k * norm;
      s.b2 = k * k * norm;
    }
    s.a1 = 2.0 * (k * k - 1.0) * norm;
    s.a2 = (1.0 - k / q + k * k) * norm;
    sections_.push_back(s);
  }
}

double Butterworth::Step(double x) {
  for (Biquad& s : sections_) x = s.Step(x);
  return x;
}

void Butterworth::Run(Signal& s) {
  for (double& x : s) x = Step(x);
}

Noise::Noise(std::string_view seed_name, std::uint64_t stream) {
  // FNV-1a of the name, mixed with the stream number; never zero.
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (char c : seed_name) {
    h ^= static_cast<unsigned char>(c);
    h *= 0x100000001b3ULL;
  }
  h ^= (stream + 1) * 0x9e3779b97f4a7c15ULL;
  state_ = h == 0 ? 0x2545f4914f6cdd1dULL : h;
  for (int i = 0; i < 8; ++i) Uniform();  // let nearby seeds drift apart
}

double Noise::Uniform() {
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  const std::uint64_t r = state_ * 0x2545f4914f6cdd1dULL;
  return (static_cast<double>(r >> 11) + 1.0) / 9007199254740992.0;  // (0, 1]
}

double Noise::Gaussian() {
  if (has_spare_) {
    has_spare_ = false;
    return spare_;
  }
  const double u1 = Uniform();
  const double u2 = Uniform();
  const double radius = Sqrt(-2.0 * Log(u1));
  const double angle = 2.0 * std::numbers::pi * u2;
  spare_ = radius * Cos(angle - 0.5 * std::numbers::pi);  // the sine of the same angle
  has_spare_ = true;
  return radius * Cos(angle);
}

Signal Noise::White(int n) {
  Signal s(n);
  for (double& x : s) x = Gaussian();
  return s;
}

double Rms(const Signal& s, int begin, int end) {
  double sum = 0.0;
  for (int i = begin; i < end; ++i) sum += s[i] * s[i];
  return end > begin ? Sqrt(sum / (end - begin)) : 0.0;
}

void NormaliseRms(Signal& s) {
  const double r = Rms(s, 0, static_cast<int>(s.size()));
  if (r <= 0.0) return;
  for (double& x : s) x /= r;
}

}  // namespace orvanel::unitgen
