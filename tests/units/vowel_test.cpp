// The eight vowel periods: formants against the tree's table, vowel-space order, seamless repeats.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

#include "tests/units/unit_analysis.h"
#include "tests/units/unit_catalogue.h"

namespace orvanel::unit_tests {
namespace {

std::map<std::string, VowelFormants> MeasureAll() {
  std::map<std::string, VowelFormants> out;
  for (const VowelTarget& t : ReadVowelTargets()) out[t.letter] = MeasureVowel(ReadUnit(t.unit));
  return out;
}

TEST(VowelUnits, LpcFormantsMatchTheTable) {
  const std::vector<VowelTarget> targets = ReadVowelTargets();
  ASSERT_EQ(targets.size(), 8u);
  for (const VowelTarget& t : targets) {
    const Samples period = ReadUnit(t.unit);
    ASSERT_EQ(period.size(), static_cast<std::size_t>(kPeriod)) << t.unit;
    const VowelFormants f = MeasureVowel(period);
    SCOPED_TRACE(t.unit + " F1 " + std::to_string(f.f1) + " F2 " + std::to_string(f.f2));
    EXPECT_NEAR(f.f1, t.f1, 0.12 * t.f1);
    EXPECT_NEAR(f.f2, t.f2, 0.12 * t.f2);
    EXPECT_GE(f.f1, t.f1_lo);
    EXPECT_LE(f.f1, t.f1_hi);
    EXPECT_GE(f.f2, t.f2_lo);
    EXPECT_LE(f.f2, t.f2_hi);
  }
}

// Height by F1, backness and rounding by F2, as every Turkish voice must keep them.
TEST(VowelUnits, VowelSpaceOrderHolds) {
  auto f = MeasureAll();
  ASSERT_EQ(f.size(), 8u);
  for (const char* close : {"i", "ü", "ı", "u"}) {
    for (const char* mid : {"e", "ö", "o"}) {
      EXPECT_LT(f[close].f1, f[mid].f1) << close << " below " << mid;
      EXPECT_LT(f[mid].f1, f["a"].f1) << mid << " below a";
    }
  }
  EXPECT_GT(f["i"].f2, f["e"].f2);
  EXPECT_GT(f["e"].f2, f["ü"].f2);
  EXPECT_GT(f["ü"].f2, f["ö"].f2);
  EXPECT_GT(f["ö"].f2, f["ı"].f2);
  for (const char* back : {"ı", "a"}) {
    for (const char* rounded : {"o", "u"}) EXPECT_GT(f[back].f2, f[rounded].f2) << back << rounded;
  }
}

TEST(VowelUnits, EveryVowelIsAtLeastOneBarkFromEveryOther) {
  const auto f = MeasureAll();
  for (const auto& [a, fa] : f) {
    for (const auto& [b, fb] : f) {
      if (a >= b) continue;
      const double d = std::hypot(Bark(fa.f1) - Bark(fb.f1), Bark(fa.f2) - Bark(fb.f2));
      EXPECT_GE(d, 1.0) << a << " and " << b;
    }
  }
}

// Repeating a period must not make a step larger than the steps inside it.
TEST(VowelUnits, PeriodWrapsWithoutASeam) {
  for (const VowelTarget& t : ReadVowelTargets()) {
    const Samples p = ReadUnit(t.unit);
    ASSERT_EQ(p.size(), static_cast<std::size_t>(kPeriod));
    const double wrap = std::abs(p.front() - p.back());
    EXPECT_LE(wrap, MaxStep(p)) << t.unit;
    // And it starts near zero, at the common cycle phase: joins to consonants stay small.
    EXPECT_LT(std::abs(p.front()), 0.015) << t.unit;
  }
}

// The tiled period is periodic at 194 samples and not at other lags: one pitch pulse a period.
TEST(VowelUnits, TiledPeriodHasOnePitchPulsePerPeriod) {
  for (const VowelTarget& t : ReadVowelTargets()) {
    const Samples x = Tile(ReadUnit(t.unit), 6);
    EXPECT_GT(NormalisedAutocorrelation(x, 0, 3 * kPeriod, kPeriod), 0.999) << t.unit;
    EXPECT_LT(NormalisedAutocorrelation(x, 0, 3 * kPeriod, kPeriod / 2), 0.8) << t.unit;
  }
}

}  // namespace
}  // namespace orvanel::unit_tests
