#include "tools/unitgen/synthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace orvanel::unitgen {

namespace {

constexpr double kF4 = 3400, kB4 = 250;
constexpr double kF5 = 4300, kB5 = 300;
constexpr double kVoiceBarHz = 180, kVoiceBarBandwidth = 90;
constexpr int kNoiseWarmUp = 400;  // filter settling samples dropped from every noise channel
constexpr int kSteadyCycles = kSettlingCycles + 2;  // the period is cut from the last but one
constexpr int kStartSearch = 12;  // a vowel period may start this far from the common phase

// Samples the track at every index; index i is time i - offset.
std::vector<double> Evaluate(Track track, int n, int offset, double fallback) {
  std::vector<double> out(n, fallback);
  if (track.empty()) return out;
  std::stable_sort(track.begin(), track.end(),
                   [](const Breakpoint& a, const Breakpoint& b) { return a.at < b.at; });
  std::size_t j = 0;
  for (int i = 0; i < n; ++i) {
    const int t = i - offset;
    while (j + 1 < track.size() && track[j + 1].at <= t) ++j;
    const Breakpoint& a = track[j];
    if (t < track.front().at) {
      out[i] = track.front().value;
    } else if (j + 1 >= track.size()) {
      out[i] = a.value;
    } else {
      const Breakpoint& b = track[j + 1];
      out[i] = a.value + (b.value - a.value) * (t - a.at) / static_cast<double>(b.at - a.at);
    }
  }
  return out;
}

std::vector<double> EvaluateLevel(const Track& db, int n, int offset) {
  Track linear = db;
  for (Breakpoint& p : linear) p.value = DbToLinear(p.value);
  return Evaluate(linear, n, offset, 0.0);
}

// Glottal pulses whose cycles start at first + k x kPeriod; each cycle's amplitude is the level
// at its closure instant, so the amplitude never changes inside a cycle. The one exception is
// the cycle that straddles `cut` (a coda's first sample): before the cut it keeps the level
// just before the cut, so the samples that continue a vowel period are the vowel's own.
Signal PulseTrain(int n, int first, const std::vector<double>& amplitude, int cut = 0) {
  const GlottalCycle& g = Glottis();
  Signal x(n, 0.0);
  for (int start = first; start < n; start += kPeriod) {
    const int gci = std::clamp(start + g.closure, 0, n - 1);
    const double a = amplitude[gci];
    const bool straddles = cut > 0 && start < cut && cut < start + kPeriod;
    const double before_cut = straddles ? amplitude[cut - 1] : a;
    if (a <= 0.0 && before_cut <= 0.0) continue;
    for (int i = 0; i < kPeriod; ++i) {
      const int j = start + i;
      if (j >= 0 && j < n) x[j] += (j < cut ? before_cut : a) * g.excitation[i];
    }
  }
  return x;
}

Signal ShapedNoise(const NoiseShape& shape, int n, Noise& rng) {
  const int total = n + kNoiseWarmUp;
  auto shape_once = [&](double centre, double bandwidth) {
    Signal w = rng.White(total);
    Resonator r;
    for (double& x : w) x = r.Step(x, centre, bandwidth);
    Butterworth hp(Butterworth::Kind::kHighPass, shape.order, shape.highpass_ratio * centre);
    hp.Run(w);
    return Signal(w.begin() + kNoiseWarmUp, w.end());
  };
  Signal y;
  if (shape.kind == NoiseShape::Kind::kResonance) {
    y = shape_once(shape.centre_or_low, shape.bandwidth_or_high);
    if (shape.extra_mix > 0) {
      Signal extra = shape_once(shape.extra_centre, shape.extra_bandwidth);
      NormaliseRms(y);
      NormaliseRms(extra);
      for (int i = 0; i < n; ++i) y[i] += shape.extra_mix * extra[i];
    }
  } else {
    Signal w = rng.White(total);
    const double high = std::min(shape.bandwidth_or_high, 0.95 * kSampleRate / 2);
    Butterworth hp(Butterworth::Kind::kHighPass, shape.order, shape.centre_or_low);
    Butterworth lp(Butterworth::Kind::kLowPass, shape.order, high);
    hp.Run(w);
    lp.Run(w);
    y.assign(w.begin() + kNoiseWarmUp, w.end());
  }
  NormaliseRms(y);
  return y;
}

// Band-limited aspiration noise, unit RMS.
Signal AspirationNoise(int n, double low_hz, int order, Noise& rng) {
  return ShapedNoise({.kind = NoiseShape::Kind::kBand,
                      .centre_or_low = low_hz,
                      .bandwidth_or_high = 7000,
                      .order = order},
                     n, rng);
}

// The glottal envelope of a voiced fricative: the rectified pulse train, smoothed over 30
// samples and scaled to a peak of 1.
Signal GlottalEnvelope(int n, int first) {
  const Signal pulses = PulseTrain(n, first, std::vector<double>(n, 1.0));
  Signal m(n, 0.0);
  double peak = 0.0;
  for (int i = 0; i < n; ++i) {
    double sum = 0.0;
    for (int j = i - 15; j < i + 15; ++j) {
      if (j >= 0 && j < n) sum += std::abs(pulses[j]);
    }
    m[i] = sum / 30.0;
    peak = std::max(peak, m[i]);
  }
  if (peak > 0) {
    for (double& v : m) v /= peak;
  }
  return m;
}

struct CascadeTracks {
  std::array<std::vector<double>, 3> f, b;
  std::vector<double> zf, zb, pf, pb;  // empty: no zero/pole pair
};

Signal Cascade(const Signal& x, const CascadeTracks& t) {
  const int n = static_cast<int>(x.size());
  Signal y(n);
  AntiResonator zero;
  Resonator pole, r1, r2, r3, r4, r5;
  const bool nasal = !t.zf.empty();
  for (int i = 0; i < n; ++i) {
    double v = x[i];
    if (nasal) {
      v = zero.Step(v, t.zf[i], t.zb[i]);
      v = pole.Step(v, t.pf[i], t.pb[i]);
    }
    v = r1.Step(v, t.f[0][i], t.b[0][i]);
    v = r2.Step(v, t.f[1][i], t.b[1][i]);
    v = r3.Step(v, t.f[2][i], t.b[2][i]);
    v = r4.Step(v, kF4, kB4);
    y[i] = r5.Step(v, kF5, kB5);
  }
  return y;
}

// A vowel held for `cycles` glottal cycles, the first cycle opening at sample 0.
Signal SteadyVowel(const Formants& f, const Bandwidths& b, double av_db, int cycles) {
  const int n = cycles * kPeriod;
  CascadeTracks t;
  const std::array<double, 3> fs = {f.f1, f.f2, f.f3};
  const std::array<double, 3> bs = {b.b1, b.b2, b.b3};
  for (int k = 0; k < 3; ++k) {
    t.f[k].assign(n, fs[k]);
    t.b[k].assign(n, bs[k]);
  }
  return Cascade(PulseTrain(n, 0, std::vector<double>(n, DbToLinear(av_db))), t);
}

double PeriodRmsDb(const Signal& y) {
  const int n = static_cast<int>(y.size());
  return LinearToDb(Rms(y, n - kPeriod, n));
}

// |y[j]| + |y[j-1]|: how far from zero a period starting at j begins and the one before ends.
double StartCost(const Signal& y, int j) { return std::abs(y[j]) + std::abs(y[j - 1]); }

Voice Calibrate() {
  Voice v;
  const auto vowels = Vowels();
  for (int i = 0; i < 8; ++i) {
    const VowelSound& s = vowels[i];
    v.vowel_av_db[i] = s.rms_dbfs - PeriodRmsDb(SteadyVowel(s.formants, s.bandwidths, 0.0, 20));
  }
  for (VowelSet set : {VowelSet::kBack, VowelSet::kFront, VowelSet::kShared}) {
    const TransitionTarget& t = Target(set);
    v.target_av_db[static_cast<int>(set)] =
        t.rms_dbfs - PeriodRmsDb(SteadyVowel(t.formants, t.bandwidths, 0.0, 20));
  }
  // The cycle phase at which the worst of the eight vowels can start nearest to zero (each may
  // start within +-12 samples of it); ties go to the smallest sum over all vowels.
  std::array<Signal, 8> cycles;
  for (int i = 0; i < 8; ++i) {
    const Signal y =
        SteadyVowel(vowels[i].formants, vowels[i].bandwidths, v.vowel_av_db[i], kSteadyCycles);
    cycles[i].assign(y.end() - 2 * kPeriod, y.end() - kPeriod);
  }
  std::pair<double, double> best_cost = {1e9, 1e9};
  for (int c = kStartSearch + 2; c < kPeriod - kStartSearch - 1; ++c) {
    double worst = 0.0, sum = 0.0;
    for (const Signal& y : cycles) {
      double cost = 1e9;
      for (int j = c - kStartSearch; j <= c + kStartSearch; ++j)
        cost = std::min(cost, StartCost(y, j));
      worst = std::max(worst, cost);
      sum += cost;
    }
    if (std::make_pair(worst, sum) < best_cost) {
      best_cost = {worst, sum};
      v.common_phase = c;
    }
  }
  for (int i = 0; i < 8; ++i) {
    int best = v.common_phase - kStartSearch;
    for (int j = best + 1; j <= v.common_phase + kStartSearch; ++j) {
      if (StartCost(cycles[i], j) < StartCost(cycles[i], best)) best = j;
    }
    v.vowel_start[i] = best;
  }
  return v;
}

}  // namespace

const Voice& CalibratedVoice() {
  static const Voice voice = Calibrate();
  return voice;
}

Signal VowelPeriod(int vowel) {
  const Voice& v = CalibratedVoice();
  const VowelSound& s = Vowels()[vowel];
  const Signal y = SteadyVowel(s.formants, s.bandwidths, v.vowel_av_db[vowel], kSteadyCycles);
  const auto begin = y.end() - 2 * kPeriod + v.vowel_start[vowel];
  Signal period(begin, begin + kPeriod);
  double mean = 0.0;
  for (double x : period) mean += x;
  mean /= kPeriod;
  for (double& x : period) x -= mean;
  return period;
}

VowelResponse VowelCycleResponse(int vowel) {
  const Voice& v = CalibratedVoice();
  const VowelSound& s = Vowels()[vowel];
  // Long enough for the narrowest bandwidth (50 Hz) to decay far below the threshold.
  const int n = 24 * kPeriod;
  Signal x(n, 0.0);
  const GlottalCycle& g = Glottis();
  const double a = DbToLinear(v.vowel_av_db[vowel]);
  for (int i = 0; i < kPeriod; ++i) x[i] = a * g.excitation[i];
  CascadeTracks t;
  const std::array<double, 3> fs = {s.formants.f1, s.formants.f2, s.formants.f3};
  const std::array<double, 3> bs = {s.bandwidths.b1, s.bandwidths.b2, s.bandwidths.b3};
  for (int k = 0; k < 3; ++k) {
    t.f[k].assign(n, fs[k]);
    t.b[k].assign(n, bs[k]);
  }
  Signal y = Cascade(x, t);
  double peak = 0.0;
  for (double value : y) peak = std::max(peak, std::abs(value));
  int length = n;
  while (length > 1 && std::abs(y[length - 1]) < peak * std::ldexp(1.0, -15)) --length;
  y.resize(length);
  VowelResponse r;
  r.rotation = v.vowel_start[vowel];
  r.peak = g.closure - r.rotation;
  r.response = std::move(y);
  return r;
}

PartMap MapParts(const UnitPlan& plan) {
  const int n = plan.prefix + plan.samples;
  const int offset = plan.prefix;
  int first =
      plan.align_to_end ? plan.prefix + plan.samples - plan.phase : plan.prefix - plan.phase;
  while (first > 0) first -= kPeriod;
  const std::vector<double> av = EvaluateLevel(plan.voicing_db, n, offset);
  const std::vector<double> avb = EvaluateLevel(plan.voicebar_db, n, offset);
  const std::vector<double> ah = EvaluateLevel(plan.aspiration_db, n, offset);

  const int len = plan.samples;
  std::vector<PartKind> kind(len, PartKind::kSilence);
  for (int i = 0; i < len; ++i) {
    bool noisy = ah[i + offset] > 0.0;
    for (const NoiseChannel& c : plan.noise) {
      if (noisy) break;
      const Track& t = c.level_dbfs;
      // Level tracks are short: evaluate this one sample directly.
      noisy = EvaluateLevel(t, 1, offset - (i + offset))[0] > 0.0;
    }
    if (noisy) kind[i] = PartKind::kNoise;
  }
  PartMap map;
  const GlottalCycle& g = Glottis();
  for (int start = first; start < n; start += kPeriod) {
    const int gci = start + g.closure;
    if (gci < 0 || gci >= n) continue;
    if (av[gci] <= 0.0 && avb[gci] <= 0.0) continue;
    const int q = gci - offset;
    if (q < 0 || q >= len) continue;
    map.pulses.push_back(q);
    for (int i = std::max(0, q - 48); i < std::min(len, q + kPeriod); ++i) {
      kind[i] = PartKind::kVoiced;
    }
  }
  for (const auto& [a, b] : plan.kept) {
    for (int i = std::max(0, a); i < std::min(len, b); ++i) kind[i] = PartKind::kKept;
  }
  for (int i = 0; i < len;) {
    int j = i + 1;
    while (j < len && kind[j] == kind[i]) ++j;
    map.parts.push_back({kind[i], i, j, kind[i] != PartKind::kKept});
    i = j;
  }
  return map;
}

Signal Synthesise(const UnitPlan& plan, std::string_view seed_name) {
  const int n = plan.prefix + plan.samples;
  const int offset = plan.prefix;

  int first =
      plan.align_to_end ? plan.prefix + plan.samples - plan.phase : plan.prefix - plan.phase;
  while (first > 0) first -= kPeriod;

  const std::vector<double> av = EvaluateLevel(plan.voicing_db, n, offset);
  const std::vector<double> avb = EvaluateLevel(plan.voicebar_db, n, offset);
  const std::vector<double> ah = EvaluateLevel(plan.aspiration_db, n, offset);

  Signal source = PulseTrain(n, first, av, plan.prefix);
  Noise aspiration_rng(seed_name, 1);
  const Signal aspiration =
      AspirationNoise(n, plan.aspiration_low_hz, plan.aspiration_order, aspiration_rng);
  for (int i = 0; i < n; ++i) source[i] += aspiration[i] * ah[i];

  CascadeTracks t;
  const std::array<double, 3> default_f = {500, 1500, 2500};
  const std::array<double, 3> default_b = {60, 90, 150};
  for (int k = 0; k < 3; ++k) {
    t.f[k] = Evaluate(plan.formants[k], n, offset, default_f[k]);
    t.b[k] = Evaluate(plan.bandwidths[k], n, offset, default_b[k]);
  }
  if (!plan.zero_hz.empty()) {
    t.zf = Evaluate(plan.zero_hz, n, offset, 280);
    t.zb = Evaluate(plan.zero_bandwidth, n, offset, 100);
    t.pf = Evaluate(plan.pole_hz, n, offset, 280);
    t.pb = Evaluate(plan.pole_bandwidth, n, offset, 100);
  }
  Signal y = Cascade(source, t);

  if (std::any_of(avb.begin(), avb.end(), [](double a) { return a > 0; })) {
    Resonator a, b;
    const Signal bar = PulseTrain(n, first, avb);
    for (int i = 0; i < n; ++i) {
      y[i] +=
          b.Step(a.Step(bar[i], kVoiceBarHz, kVoiceBarBandwidth), kVoiceBarHz, kVoiceBarBandwidth);
    }
  }

  for (std::size_t c = 0; c < plan.noise.size(); ++c) {
    const NoiseChannel& channel = plan.noise[c];
    Noise rng(seed_name, 3 + 7 * c);
    Signal noise = ShapedNoise(channel.shape, n, rng);
    if (channel.glottal_modulation > 0) {
      const Signal m = GlottalEnvelope(n, first);
      const double depth = channel.glottal_modulation;
      for (int i = 0; i < n; ++i) noise[i] *= 1.0 - depth + depth * 2.0 * m[i];
    }
    const std::vector<double> level = EvaluateLevel(channel.level_dbfs, n, offset);
    for (int i = 0; i < n; ++i) y[i] += noise[i] * level[i];
  }

  Signal out(y.begin() + offset, y.end());
  const int len = plan.samples;

  for (int i = 0; i < plan.fade_in && i < len; ++i) {
    out[i] *= 0.5 - 0.5 * Cos(std::numbers::pi * i / plan.fade_in);
  }
  for (int i = 0; i < plan.fade_out && i < len; ++i) {
    out[len - plan.fade_out + i] *= 0.5 + 0.5 * Cos(std::numbers::pi * (i + 1) / plan.fade_out);
  }
  // Remove DC (after the fades, which change it) with a correction shaped like the sound's own
  // envelope times a Hann window: silent stretches (a stop closure) stay digital silence, and
  // the first and last samples stay as they are.
  std::vector<double> w(len, 0.0);
  const int half = Ms(1);
  double running = 0.0;  // sum of |out| over [i - half, i + half]
  for (int i = 0; i <= half && i < len; ++i) running += std::abs(out[i]);
  for (int i = 0; i < len; ++i) {
    const double hann = 0.5 - 0.5 * Cos(2.0 * std::numbers::pi * i / (len - 1));
    w[i] = hann * running;
    if (i + half + 1 < len) running += std::abs(out[i + half + 1]);
    if (i - half >= 0) running -= std::abs(out[i - half]);
  }
  double mean = 0.0, mean_w = 0.0;
  for (int i = 0; i < len; ++i) {
    mean += out[i];
    mean_w += w[i];
  }
  if (mean_w > 0) {
    const double k = mean / mean_w;
    for (int i = 0; i < len; ++i) out[i] -= k * w[i];
  }

  return out;
}

}  // namespace orvanel::unitgen
