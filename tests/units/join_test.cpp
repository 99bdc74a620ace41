// Joins as the renderer makes them, unit butted against unit with no crossfade: every onset
// before every vowel of its set, every vowel before every coda of its set.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "frontend/unit_names.h"
#include "tests/units/unit_analysis.h"

namespace orvanel::unit_tests {
namespace {

constexpr int kBackVowelUnits[] = {0, 2, 4, 6};   // a ı o u
constexpr int kFrontVowelUnits[] = {1, 3, 5, 7};  // e i ö ü

struct Join {
  std::string consonant;
  std::string vowel;
};

// (onset, vowel) or (coda, vowel) pairs the renderer can produce: back-set units meet a ı o u,
// front-set units e i ö ü.
std::set<std::pair<std::string, std::string>> Pairs(bool onset) {
  std::set<std::pair<std::string, std::string>> out;
  const auto add = [&](const auto& table, const int(&vowels)[4]) {
    for (std::string_view base : table) {
      std::string name(base);
      if (name.back() == '_') name += onset ? "PRE" : "POST";
      for (int v : vowels) out.emplace(name, std::string(frontend::VowelUnitNames[v]));
    }
  };
  add(frontend::BackConsonantUnitNames, kBackVowelUnits);
  add(frontend::FrontConsonantUnitNames, kFrontVowelUnits);
  return out;
}

TEST(Joins, EveryOnsetRunsIntoEveryVowelOfItsSetWithoutAStep) {
  const auto pairs = Pairs(true);
  EXPECT_GT(pairs.size(), 100u);
  for (const auto& [onset, vowel] : pairs) {
    const Samples c = ReadUnit(onset);
    const Samples v = ReadUnit(vowel);
    ASSERT_FALSE(c.empty() || v.empty()) << onset << vowel;
    const double step = std::abs(v.front() - c.back());
    SCOPED_TRACE(onset + " + " + vowel + " step " + std::to_string(step));
    EXPECT_LE(step, MaxStep(v) / 4);
    EXPECT_LT(step, 0.015);
  }
}

TEST(Joins, EveryVowelRunsIntoEveryCodaOfItsSetWithoutAStep) {
  for (const auto& [coda, vowel] : Pairs(false)) {
    const Samples c = ReadUnit(coda);
    const Samples v = ReadUnit(vowel);
    ASSERT_FALSE(c.empty() || v.empty()) << coda << vowel;
    const double step = std::abs(c.front() - v.back());
    SCOPED_TRACE(vowel + " + " + coda + " step " + std::to_string(step));
    EXPECT_LE(step, MaxStep(v) / 4);
    // No larger than the step the vowel makes when it repeats itself, give or take 0.3 % FS.
    EXPECT_LE(step, std::abs(v.front() - v.back()) + 0.003);
  }
}

// An onset ends at the vowel's level: its last full period is within a few dB of every vowel
// of its set, so the first vowel period does not jump out. The aspirated stops have only one
// or two pulses of voicing, still with the F1 damping of the open glottis, so their last period
// is partly aspiration and a little weaker.
TEST(Joins, OnsetsEndAtTheVowelLevel) {
  const std::set<std::string> aspirated = {"P_PRE", "PIE_PRE", "T_PRE", "K_PRE"};
  for (const auto& [onset, vowel] : Pairs(true)) {
    const double tolerance = aspirated.contains(onset) ? 6.0 : 4.0;
    const Samples c = ReadUnit(onset);
    const int n = static_cast<int>(c.size());
    const double end_level = Db(Rms(c, n - kPeriod, n - 11));  // before the 0.5 ms taper
    const double vowel_level = Db(Rms(ReadUnit(vowel)));
    EXPECT_NEAR(end_level, vowel_level, tolerance) << onset << " + " << vowel;
  }
}

// A coda starts at the vowel's level, continuing its last period. (The units that serve both
// ways, C CH KE R, are shaped as onsets and start from silence.)
TEST(Joins, CodasStartAtTheVowelLevel) {
  for (const auto& [coda, vowel] : Pairs(false)) {
    if (!coda.ends_with("_POST")) continue;
    const Samples c = ReadUnit(coda);
    const double start_level = Db(Rms(c, 0, kPeriod / 2));
    const Samples v = ReadUnit(vowel);
    const double vowel_level = Db(Rms(v, kPeriod / 2, kPeriod));
    EXPECT_NEAR(start_level, vowel_level, 4.0) << vowel << " + " << coda;
  }
}

}  // namespace
}  // namespace orvanel::unit_tests
