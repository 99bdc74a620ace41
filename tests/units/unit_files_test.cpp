// The committed unit files: names, sizes, and the level limits that hold for every unit.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "frontend/unit_names.h"
#include "tests/units/unit_analysis.h"
#include "tests/units/unit_catalogue.h"

namespace orvanel::unit_tests {
namespace {

// Every name the unit inventory loads: the vowels, and onset and coda of every slot of both sets.
std::set<std::string> InventoryNames() {
  std::set<std::string> names;
  for (std::string_view v : frontend::VowelUnitNames) names.emplace(v);
  for (const auto* table :
       {&frontend::BackConsonantUnitNames, &frontend::FrontConsonantUnitNames}) {
    for (std::string_view base : *table) {
      const std::string b(base);
      if (b.back() == '_') {
        names.insert(b + "PRE");
        names.insert(b + "POST");
      } else {
        names.insert(b);
      }
    }
  }
  return names;
}

TEST(UnitFiles, EveryInventoryNameIsACatalogueUnit) {
  std::set<std::string> catalogue;
  for (const CatalogueEntry& e : Catalogue()) catalogue.emplace(e.name);
  EXPECT_EQ(catalogue.size(), 56u);
  EXPECT_EQ(InventoryNames(), catalogue);
}

TEST(UnitFiles, EverySizeEqualsTheCatalogue) {
  long total = 0;
  for (const CatalogueEntry& e : Catalogue()) {
    const std::vector<unsigned char> bytes = ReadBytes(UnitPath(e.name));
    EXPECT_EQ(bytes.size(), 2u * e.samples) << e.name;
    EXPECT_LT(bytes.size(), 65536u) << e.name;
    total += static_cast<long>(bytes.size());
  }
  EXPECT_EQ(total, 172680);
}

TEST(UnitFiles, NoUnitReachesFullScale) {
  for (const CatalogueEntry& e : Catalogue()) {
    const Samples x = ReadUnit(e.name);
    ASSERT_FALSE(x.empty()) << e.name;
    // At least 1 dB of headroom: the loudest peaks are the t and k bursts.
    EXPECT_LT(Db(Peak(x)), -1.0) << e.name;
  }
}

TEST(UnitFiles, NoUnitHasADcOffset) {
  for (const CatalogueEntry& e : Catalogue()) {
    const Samples x = ReadUnit(e.name);
    ASSERT_FALSE(x.empty()) << e.name;
    // 0.1 % of full scale: a vowel repeated for a second would otherwise shift the baseline.
    EXPECT_LT(std::abs(Mean(x)), 0.001) << e.name;
  }
}

TEST(UnitFiles, ConsonantUnitsStartAndEndAtZero) {
  for (const CatalogueEntry& e : Catalogue()) {
    if (e.samples == kPeriod) continue;
    const Samples x = ReadUnit(e.name);
    ASSERT_FALSE(x.empty()) << e.name;
    EXPECT_EQ(x.back(), 0.0) << e.name << " must fade to silence at its end";
    // Onsets start from silence; codas continue a vowel at a low-amplitude phase.
    EXPECT_LT(std::abs(x.front()), 0.02) << e.name;
  }
}

// Vowels near -16 dBFS RMS (open vowels a little louder), each at its table level.
TEST(UnitFiles, VowelLevelsFollowTheTable) {
  const std::vector<VowelTarget> targets = ReadVowelTargets();
  ASSERT_EQ(targets.size(), 8u);
  for (const VowelTarget& t : targets) {
    const double rms = Db(Rms(ReadUnit(t.unit)));
    EXPECT_NEAR(rms, t.rms_dbfs, 0.3) << t.unit;
    EXPECT_NEAR(rms, -16.0, 1.5) << t.unit;
  }
  EXPECT_GT(Db(Rms(ReadUnit("A_1"))), Db(Rms(ReadUnit("IE_1"))) + 1.0) << "intrinsic level";
}

// Consonants in natural proportion to the vowels: never louder than the loudest vowel, never
// so weak that they vanish next to it.
TEST(UnitFiles, ConsonantLevelsStayBelowTheVowels) {
  for (const CatalogueEntry& e : Catalogue()) {
    if (e.samples == kPeriod) continue;
    const double rms = Db(Rms(ReadUnit(e.name)));
    EXPECT_LT(rms, -15.0) << e.name;
    EXPECT_GT(rms, -32.0) << e.name;
  }
}

}  // namespace
}  // namespace orvanel::unit_tests
