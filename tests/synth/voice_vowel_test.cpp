// The generated voice data and the overlap-added vowel: identity with the stored periods, pitch
// per period, formants, joins and level over the whole range of shifts and contours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "embedded/embedded_units.h"
#include "frontend/unit_names.h"
#include "synth/voice_controls.h"
#include "synth/voice_data.h"
#include "synth/voice_signal.h"
#include "tests/support/built_in_voice.h"
#include "tests/units/unit_analysis.h"

namespace orvanel::synth {
namespace {

namespace ua = unit_tests;

const test::BuiltInVoice& Voice() { return test::LoadedVoice(); }

const std::int16_t* Period(int v) { return LockUnit(Voice().units.vowels[v].handle); }

ua::Samples ToSamples(const std::vector<std::int16_t>& x) {
  ua::Samples s(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) s[i] = x[i] / 32768.0;
  return s;
}

std::vector<std::int16_t> Render(int v, std::uint32_t samples, float start, float end,
                                 std::vector<std::uint32_t>* closures = nullptr) {
  std::vector<std::int16_t> out;
  OverlapAddVowel(
      Voice().data.vowels[v], Period(v), samples,
      [&](std::uint32_t t) { return start + (end - start) * static_cast<float>(t) / samples; }, out,
      closures);
  return out;
}

double TargetPeriod(float st) { return 194.0 * std::exp2(-std::clamp(st, -6.f, 6.f) / 12.0); }

TEST(VoiceData, EveryVowelResponseSumsToItsStoredPeriodWithinOneLsb) {
  ASSERT_TRUE(Voice().ok);
  for (int v = 0; v < 8; ++v) {
    const VowelVoice& voice = Voice().data.vowels[v];
    const std::int16_t* period = Period(v);
    int worst = 0;
    for (std::uint32_t n = 0; n < kBasePeriod; ++n) {
      std::int64_t sum = 0;
      for (std::size_t i = (voice.rotation + n) % kBasePeriod; i < voice.response.size();
           i += kBasePeriod)
        sum += voice.response[i];
      const int value = static_cast<int>(std::lround(static_cast<double>(sum) / 256.0));
      worst = std::max(worst, std::abs(value - period[n]));
    }
    EXPECT_LE(worst, 1) << frontend::VowelUnitNames[v];
    EXPECT_EQ(voice.rotation + voice.peak, 116u) << "the glottal closure";
  }
}

TEST(VoiceData, PartMapsCoverEveryUnitAndKeepEveryBurst) {
  ASSERT_TRUE(Voice().ok);
  // Units with a release burst: its first 10 ms is a kept part.
  const std::map<std::string, int> bursts = {
      {"B_PRE", 1}, {"D_PRE", 1}, {"P_PRE", 1}, {"T_PRE", 1},  {"CH", 1},
      {"C", 1},     {"K_PRE", 1}, {"KE", 1},    {"T_POST", 1}, {"D_POST", 1}};
  const auto check = [&](const std::array<UnitEntry, 48>& units,
                         const std::array<ConsonantVoice, 48>& maps,
                         const std::array<std::string_view, 24>& names) {
    for (std::size_t e = 0; e < 48; ++e) {
      const ConsonantVoice& map = maps[e];
      std::string name(names[e / 2]);
      if (name.back() == '_') name += e % 2 == 0 ? "PRE" : "POST";
      ASSERT_FALSE(map.parts.empty()) << name;
      EXPECT_EQ(map.parts.front().start, 0u) << name;
      EXPECT_EQ(map.parts.back().end, units[e].LengthSamples()) << name;
      for (std::size_t k = 1; k < map.pulses.size(); ++k) {
        EXPECT_EQ((map.pulses[k] - map.pulses[k - 1]) % kBasePeriod, 0u) << name << " pulse grid";
      }
      int kept = 0;
      for (const UnitPart& p : map.parts) {
        if (p.kind == UnitPartKind::Kept) {
          ++kept;
          EXPECT_FALSE(p.shortenable) << name;
        }
      }
      if (bursts.count(name)) {
        EXPECT_GE(kept, 1) << name;
      }
    }
  };
  check(Voice().units.back, Voice().data.back, frontend::BackConsonantUnitNames);
  check(Voice().units.front, Voice().data.front, frontend::FrontConsonantUnitNames);
}

TEST(VoiceData, MissingOrMalformedItemIsReportedByName) {
  struct Store final : UnitStore {
    const UnitStore& real;
    std::string broken;
    std::vector<unsigned char> garbage{1, 0, 0, 0, 5};
    explicit Store(const UnitStore& r, std::string b) : real(r), broken(std::move(b)) {}
    std::span<const unsigned char> Find(std::string_view type,
                                        std::string_view name) const override {
      if (type == kVoiceType && name == broken) return {garbage.data(), garbage.size()};
      return real.Find(type, name);
    }
  };
  const embedded::EmbeddedUnitStore real;
  for (const char* name : {"A_1", "UE_1", "B_PRE", "KE", "Z_POST"}) {
    const Store store(real, name);
    VoiceData data;
    std::string error;
    EXPECT_EQ(LoadVoiceData(store, data, error), 0) << name;
    EXPECT_EQ(error, std::string("Cannot load resource ") + name);
  }
}

TEST(OverlapAddVowel, ZeroSemitonesIsTheTiledPeriodWithinOneLsb) {
  ASSERT_TRUE(Voice().ok);
  for (int v = 0; v < 8; ++v) {
    for (std::uint32_t samples : {2800u, 194u, 300u, 44u}) {
      const std::vector<std::int16_t> y = Render(v, samples, 0.f, 0.f);
      const std::uint32_t expected = samples >= 194 ? samples / 194 * 194 : samples;
      ASSERT_EQ(y.size(), expected) << v << " " << samples;
      int worst = 0;
      for (std::size_t n = 0; n < y.size(); ++n)
        worst = std::max(worst, std::abs(y[n] - Period(v)[n % 194]));
      EXPECT_LE(worst, 1) << frontend::VowelUnitNames[v] << " " << samples;
    }
  }
}

struct Shift {
  float start, end;
};

// Measured F0 per period: the lag at which the waveform around one glottal closure best matches
// the waveform after it (normalised cross-correlation over the excitation and its first
// ringing), against the contour's target at that closure.
TEST(OverlapAddVowel, PitchPerPeriodIsWithinOnePercentOfTheTarget) {
  ASSERT_TRUE(Voice().ok);
  const std::vector<Shift> shifts = {{-6, -6}, {-4, -4}, {-2, -2}, {-1, -1}, {1, 1},
                                     {2, 2},   {4, 4},   {6, 6},   {0, 6},   {6, 0},
                                     {-3, 3},  {3, -3},  {8, 8},   {-9, -9}};
  constexpr std::uint32_t kSamples = 6000;
  for (int v = 0; v < 8; ++v) {
    for (const Shift& s : shifts) {
      std::vector<std::uint32_t> closures;
      const ua::Samples y = ToSamples(Render(v, kSamples, s.start, s.end, &closures));
      ASSERT_GE(closures.size(), 20u);
      double worst = 0.0;
      // The last period blends back into the stored one and is not measured.
      for (std::size_t k = 1; k + 2 < closures.size(); ++k) {
        const double st = s.start + (s.end - s.start) * static_cast<double>(closures[k]) / kSamples;
        const double target = TargetPeriod(static_cast<float>(st));
        const int begin = static_cast<int>(closures[k]) - 20;
        auto r = [&](int lag) {
          return ua::NormalisedAutocorrelation(y, begin, begin + 80 + lag, lag);
        };
        int best = 0;
        for (int lag = static_cast<int>(0.9 * target); lag <= static_cast<int>(1.1 * target);
             ++lag) {
          if (best == 0 || r(lag) > r(best)) best = lag;
        }
        // The peak between samples, from a parabola through the best lag and its neighbours.
        const double a = r(best - 1), b = r(best), c = r(best + 1);
        const double denom = a - 2 * b + c;
        const double measured = best + (denom < 0 ? 0.5 * (a - c) / denom : 0.0);
        worst = std::max(worst, std::abs(measured / target - 1.0));
      }
      EXPECT_LE(worst, 0.01) << frontend::VowelUnitNames[v] << " " << s.start << ".." << s.end;
      std::printf("f0 %s %+g..%+g worst %.2f %%\n", frontend::VowelUnitNames[v].data(), s.start,
                  s.end, 100 * worst);
    }
  }
}

// Covariance LPC of order 10 (five resonators) over x[begin, end): exact for a free decay.
std::vector<double> CovarianceLpc(const ua::Samples& x, int begin, int end) {
  constexpr int p = 10;
  std::vector<std::vector<double>> m(p, std::vector<double>(p + 1, 0.0));
  for (int i = 1; i <= p; ++i) {
    for (int j = 1; j <= p; ++j) {
      for (int n = begin; n < end; ++n) m[i - 1][j - 1] += x[n - i] * x[n - j];
    }
    for (int n = begin; n < end; ++n) m[i - 1][p] -= x[n] * x[n - i];
  }
  for (int c = 0; c < p; ++c) {  // Gaussian elimination with partial pivoting
    int pivot = c;
    for (int r = c + 1; r < p; ++r) {
      if (std::abs(m[r][c]) > std::abs(m[pivot][c])) pivot = r;
    }
    std::swap(m[c], m[pivot]);
    for (int r = 0; r < p; ++r) {
      if (r == c || m[c][c] == 0.0) continue;
      const double f = m[r][c] / m[c][c];
      for (int k = c; k <= p; ++k) m[r][k] -= f * m[c][k];
    }
  }
  std::vector<double> a(p + 1, 1.0);
  for (int i = 0; i < p; ++i) a[i + 1] = m[i][i] != 0.0 ? m[i][p] / m[i][i] : 0.0;
  return a;
}

// F1, F2 from the closed phase (closure + 3 up to the next glottal opening), where every earlier
// cycle rings freely: the median over six periods in the middle of a vowel.
ua::VowelFormants ClosedPhaseFormants(const ua::Samples& y, const std::vector<std::uint32_t>& c) {
  std::vector<double> f1, f2;
  for (std::size_t k = c.size() / 2 - 3; k < c.size() / 2 + 3; ++k) {
    const int begin = static_cast<int>(c[k]) + 3;
    const int end = static_cast<int>(c[k + 1]) - 116;
    const std::vector<double> peaks = ua::LpcPeaks(CovarianceLpc(y, begin, end));
    if (peaks.size() < 2) continue;
    f1.push_back(peaks[0]);
    f2.push_back(peaks[1]);
  }
  std::sort(f1.begin(), f1.end());
  std::sort(f2.begin(), f2.end());
  if (f1.empty()) return {};
  return {f1[f1.size() / 2], f2[f2.size() / 2]};
}

// The closed phase is 50 samples or more from -6 up to +2 semitones; above that it is too short
// for the measure.
TEST(OverlapAddVowel, FormantsStayWithinThreePercentOfTheUnit) {
  ASSERT_TRUE(Voice().ok);
  for (int v = 0; v < 8; ++v) {
    std::vector<std::uint32_t> base;
    const ua::Samples ref = ToSamples(Render(v, 6000, 0.f, 0.f, &base));
    const ua::VowelFormants f0 = ClosedPhaseFormants(ref, base);
    ASSERT_GT(f0.f1, 0.0);
    for (float st : {-6.f, -4.f, -2.f, -1.f, 1.f, 2.f}) {
      std::vector<std::uint32_t> closures;
      const ua::Samples y = ToSamples(Render(v, 6000, st, st, &closures));
      const ua::VowelFormants f = ClosedPhaseFormants(y, closures);
      EXPECT_NEAR(f.f1, f0.f1, 0.03 * f0.f1) << frontend::VowelUnitNames[v] << " " << st;
      EXPECT_NEAR(f.f2, f0.f2, 0.03 * f0.f2) << frontend::VowelUnitNames[v] << " " << st;
      std::printf("formants %s %+g F1 %.0f/%.0f (%+.2f %%) F2 %.0f/%.0f (%+.2f %%)\n",
                  frontend::VowelUnitNames[v].data(), st, f.f1, f0.f1, 100 * (f.f1 / f0.f1 - 1),
                  f.f2, f0.f2, 100 * (f.f2 / f0.f2 - 1));
    }
  }
}

TEST(OverlapAddVowel, NoJoinStepLargerThanTheUnitsOwnAndNoClipping) {
  ASSERT_TRUE(Voice().ok);
  const std::vector<Shift> shifts = {{-6, -6}, {-3, -3}, {3, 3}, {6, 6}, {-6, 6}, {6, -6}};
  for (int v = 0; v < 8; ++v) {
    int ownStep = 0;
    for (int n = 0; n < 194; ++n)
      ownStep = std::max(ownStep, std::abs(Period(v)[(n + 1) % 194] - Period(v)[n]));
    for (const Shift& s : shifts) {
      std::vector<std::uint32_t> closures;
      const std::vector<std::int16_t> y = Render(v, 4000, s.start, s.end, &closures);
      const std::uint32_t peak = Voice().data.vowels[v].peak;
      int worst = 0;
      for (std::uint32_t c : closures) {
        const std::uint32_t j = c - peak;  // the period's first sample
        if (j > 0) worst = std::max(worst, std::abs(y[j] - y[j - 1]));
      }
      // The end continues the stored period: its last sample steps into the period's first.
      worst = std::max(worst, std::abs(Period(v)[0] - y.back()));
      EXPECT_LE(worst, ownStep) << frontend::VowelUnitNames[v] << " " << s.start << ".." << s.end;
      const auto [lo, hi] = std::minmax_element(y.begin(), y.end());
      EXPECT_GT(*lo, -32768) << frontend::VowelUnitNames[v];
      EXPECT_LT(*hi, 32767) << frontend::VowelUnitNames[v];
      std::printf("joins %s %+g..%+g step %d of %d (%.2f) peak %d\n",
                  frontend::VowelUnitNames[v].data(), s.start, s.end, worst, ownStep,
                  static_cast<double>(worst) / ownStep, std::max(-*lo, static_cast<int>(*hi)));
    }
  }
}

}  // namespace
}  // namespace orvanel::synth
