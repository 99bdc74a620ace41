// The unit catalogue as the tests expect it: names, sample counts, vowel table from the tree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvanel::unit_tests {

struct CatalogueEntry {
  std::string_view name;
  int samples;
};
// All 56 units with the catalogue's sample counts (172,680 bytes in all).
const std::vector<CatalogueEntry>& Catalogue();

// One row of tools/unitgen/vowel_targets.csv.
struct VowelTarget {
  std::string letter;
  std::string unit;
  double f1 = 0, f2 = 0, f3 = 0;
  double rms_dbfs = 0;
  double f1_lo = 0, f1_hi = 0, f2_lo = 0, f2_hi = 0;
};
// In vowel unit order (a e ı i o ö u ü); empty if the table cannot be read.
std::vector<VowelTarget> ReadVowelTargets();

// Vowel unit numbers of the back set (a ı o u) and the front set (e i ö ü).
inline constexpr int kBackVowels[] = {0, 2, 4, 6};
inline constexpr int kFrontVowels[] = {1, 3, 5, 7};

}  // namespace orvanel::unit_tests
