// The shortcut of the reading stage: most lines of ordinary prose have nothing any rule could
// take, and are copied without being cut into tokens.
#pragma once

#include <string_view>

#include "reading/turkish_reading.h"

namespace orvanel::reading {

// True when some rule may apply to a line at the punctuation level: it has a digit, an
// apostrophe, a percent or dollar sign, a backslash, punctuation read as a pause or a joint
// (( ) [ ] " : ; - / and two dots), a sign read by its name at the level or three of one sign in a
// row (decoration), a dot before a letter
// or after one letter or the first word of an abbreviation, two capitals in a row, a word without
// a vowel or a foreign word of the lexicon, a phrase mark's byte, or a character other than ASCII
// and the twelve Turkish letters. Other lines come out unchanged (but for the mark at their end).
bool MayNeedReading(std::string_view line, Punctuation level);

}  // namespace orvanel::reading
