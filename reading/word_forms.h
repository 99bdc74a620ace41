// Word-level forms of the reading stage: Roman numerals, acronyms spelled or said, and words
// with circumflex vowels.
#pragma once

#include <string>
#include <string_view>

#include "reading/reading_tables.h"

namespace orvanel::reading {

// The listed acronym written exactly so, or nullptr.
const Acronym* FindAcronym(std::string_view word);

// True when a word of ASCII letters may be one of the foreign words (a quick test on its first
// letter and length); FindForeignWord then looks it up by its lower case.
bool MayBeForeignWord(std::string_view ascii_word);
const Expansion* FindForeignWord(std::string_view lower);

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
