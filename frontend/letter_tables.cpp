#include "frontend/letter_tables.h"

#include <array>

namespace orvanel::frontend {
namespace {

// Byte -> index lookups built at compile time from the tables, so each lookup is one load.
// The first match in table order wins; the terminating zero is never a member.
template <std::size_t N>
constexpr std::array<signed char, 256> BuildIndex(const char (&table)[N]) {
  std::array<signed char, 256> index{};
  for (auto& v : index) v = -1;
  for (std::size_t i = 0; i + 1 < N; ++i) {
    const auto byte = static_cast<unsigned char>(table[i]);
    if (index[byte] == -1) index[byte] = static_cast<signed char>(i);
  }
  return index;
}

constexpr auto kVowelIndex = BuildIndex(kVowelTable);
constexpr auto kConsonantIndex = BuildIndex(kConsonantTable);
constexpr auto kFrontIndex = BuildIndex(kFrontVowelTable);

static_assert(sizeof(kVowelTable) - 1 == kVowelCount);
static_assert(sizeof(kConsonantTable) - 1 == kConsonantCount);
static_assert(sizeof(kFrontVowelTable) - 1 == 8);

}  // namespace

int VowelLookup(char ch) noexcept { return kVowelIndex[static_cast<unsigned char>(ch)]; }

int ConsonantLookup(char ch) noexcept { return kConsonantIndex[static_cast<unsigned char>(ch)]; }

int IsFrontVowel(char ch) noexcept { return kFrontIndex[static_cast<unsigned char>(ch)] >= 0; }

char ToUpperLetter(char ch) noexcept {
  if (const int v = VowelLookup(ch); v >= 0) return kVowelTable[v & ~1];
  if (const int c = ConsonantLookup(ch); c >= 0) return kConsonantTable[c & ~1];
  return ch;
}

char ToLowerLetter(char ch) noexcept {
  if (const int v = VowelLookup(ch); v >= 0) return kVowelTable[v | 1];
  if (const int c = ConsonantLookup(ch); c >= 0) return kConsonantTable[c | 1];
  return ch;
}

}  // namespace orvanel::frontend
