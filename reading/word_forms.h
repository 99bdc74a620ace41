// Word-level forms of the reading stage: Roman numerals, acronyms spelled or said, and words
// with circumflex vowels.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

#include "reading/reading_tables.h"

namespace orvanel::reading {

// The listed acronym written exactly so, or nullptr.
const Acronym* FindAcronym(std::string_view word);

// The first and last letters and the lengths (up to a hyphen) of the foreign words, as bits: a
// quick test that most words fail, before FindForeignWord looks a word up by its lower case.
inline constexpr std::size_t kLongestForeignWord = 15;
using ForeignCandidateBits = std::bitset<26 * 26 * (kLongestForeignWord + 1)>;
const ForeignCandidateBits& ForeignCandidates();

inline std::size_t LetterIndex(char c) {
  return static_cast<std::size_t>((c >= 'a' ? c : static_cast<char>(c + 32)) - 'a');
}
inline std::size_t ForeignCandidateBit(std::string_view word) {
  return (LetterIndex(word.front()) * 26 + LetterIndex(word.back())) * (kLongestForeignWord + 1) +
         word.size();
}
// True when a word of ASCII letters may be one of the foreign words.
inline bool MayBeForeignWord(std::string_view ascii_word, const ForeignCandidateBits& bits) {
  return !ascii_word.empty() && ascii_word.size() <= kLongestForeignWord &&
         bits.test(ForeignCandidateBit(ascii_word));
}
const Expansion* FindForeignWord(std::string_view lower);

// True when word is the first word of an abbreviation of the table ("Prof" of "Prof.").
bool BeginsAbbreviation(std::string_view word);

// The value of a Roman numeral in its usual form (I to MMMCMXCIX), or 0.
int RomanValue(std::string_view word);

// Whether an unknown all-capital word is spelled: it has no vowel, begins with two consonants,
// has three consonants in a row, or ends in two consonants that no Turkish word ends in.
bool LooksSpelled(const std::u32string& word);

// The letter names of a word, between blanks: "BDDK" -> "be de de ke".
std::string Spell(const std::u32string& word);

// A word with circumflex vowels. The vowels are read plain; k, g and l before â or û keep their
// front-vowel sound, which only the notation can say, so such a word becomes a brace passage of
// the front end's own transcription with "~" before those consonants: "kâtip" -> "{~KaTip}".
std::string ReadCircumflexWord(const std::u32string& word);

}  // namespace orvanel::reading
