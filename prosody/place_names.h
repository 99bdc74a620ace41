// The gazetteer of Turkish place names (prosody/place_names.txt) and the suffixes a name takes:
// where a name stands in a word ("Sivas", "sivasta", "Ankaralılar"), and which part of a word
// joined at an apostrophe is the name ("Adanaya" -> "Adana" + "ya"). Windows-1254, lower case.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "prosody/stress_lexicon.h"

namespace orvanel::prosody::detail {

struct PlaceNames {
  // Entry values: the 0-based stressed syllable, plus kCommonWord when a common word is spelled
  // the same ("*" in the table), or kCommonWithSuffix when common words begin with the name
  // and a suffix ("+").
  static constexpr int kSyllable = 0xFF;
  static constexpr int kCommonWord = 0x100;
  static constexpr int kCommonWithSuffix = 0x200;
  WordMap entries;
  std::size_t longest = 0;
  // By the first three letters (Lexicon::TripleKey), bit n for a name of n
  // letters (n < 32): most words are told apart from every name by one load.
  std::array<std::uint32_t, 4096> lengths{};
  std::uint32_t NameLengths(std::string_view w) const noexcept {
    return w.size() < 3 ? 0 : lengths[Lexicon::TripleKey(w)];
  }
};
const PlaceNames& ThePlaceNames();

// Whether rest is a chain of the suffixes a name takes, after a stem that ends in stem's
// letters: a derived -lI, the plural, a case (with -ki and the cases after it), a copula and the
// person endings; the vowels in harmony with the stem's last vowel and each other, d/t and c/ç
// by the letter before them, y and n after a vowel. lenient: the first suffix's vowel may
// disagree with the stem (loan names: "Kemal'e"). An empty rest is no chain.
bool IsNameSuffixChain(std::string_view stem, std::string_view rest, bool lenient);

// Where the suffixes of a name joined at an apostrophe begin in word: the shortest stem with a
// vowel that leaves a chain (lenient), or word.size() when no split leaves one.
std::size_t JoinedNameStem(std::string_view word);

}  // namespace orvanel::prosody::detail
