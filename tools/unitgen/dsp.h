// Signal building blocks of the unit generator: glottal pulse, formant resonators, filters, noise.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orvanel::unitgen {

inline constexpr int kSampleRate = 22050;
// One glottal cycle, in samples: every voiced sound of every unit uses exactly this cycle.
inline constexpr int kPeriod = 194;

using Signal = std::vector<double>;

// Library maths behind a call boundary the optimiser cannot see through, so that a value is
// always computed by the C library at run time, never folded at compile time with a
// differently rounded result. The units come out bit-identical in every build type.
double Exp(double x);
double Log(double x);
double Cos(double x);
double Tan(double x);
double Sqrt(double x);
double Pow10(double x);  // 10^x

double DbToLinear(double db);  // -90 dB or less is silence (0)
double LinearToDb(double linear);

// Milliseconds to samples at 22050 Hz, rounded to the nearest sample.
int Ms(double ms);

// The derivative of a Rosenberg glottal flow pulse (open quotient 0.60, speed quotient 2.5)
// over one cycle of kPeriod samples, flow peak 1.0: sample 0 is the glottal opening.
struct GlottalCycle {
  std::array<double, kPeriod> excitation{};
  int closure = 0;  // the glottal closure instant (GCI), samples after opening
};
const GlottalCycle& Glottis();

// Two-pole digital resonator with unity gain at DC; frequency and bandwidth may change at
// every sample (the coefficients are recomputed each time).
class Resonator {
 public:
  double Step(double x, double frequency, double bandwidth);

 private:
  double y1_ = 0.0;
  double y2_ = 0.0;
};

// The inverse of Resonator: a pair of zeros, unity gain at DC.
class AntiResonator {
 public:
  double Step(double x, double frequency, double bandwidth);

 private:
  double x1_ = 0.0;
  double x2_ = 0.0;
};

// Second-order section, direct form I, fixed coefficients (a0 normalised to 1).
struct Biquad {
  double b0 = 1.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
  double Step(double x);
};

// Butterworth high- or low-pass of order 1, 2 or 4 (bilinear transform, prewarped corner).
class Butterworth {
 public:
  enum class Kind { kLowPass, kHighPass };
  Butterworth(Kind kind, int order, double corner_hz);
  double Step(double x);
  void Run(Signal& s);

 private:
  std::vector<Biquad> sections_;
};

// Deterministic noise: xorshift64* seeded from a unit's name, Gaussian by Box-Muller.
class Noise {
 public:
  explicit Noise(std::string_view seed_name, std::uint64_t stream);
  double Uniform();  // (0, 1]
  double Gaussian();
  Signal White(int n);

 private:
  std::uint64_t state_;
  double spare_ = 0.0;
  bool has_spare_ = false;
};

// Scales s to unit RMS (left unchanged if silent).
void NormaliseRms(Signal& s);
double Rms(const Signal& s, int begin, int end);

}  // namespace orvanel::unitgen
