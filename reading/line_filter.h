// The shortcut of the reading stage: most lines of ordinary prose have nothing any rule could
// take, and are copied without being cut into tokens.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "reading/turkish_reading.h"

namespace orvanel::reading {

// What a line needs at the punctuation level none or some.
enum class LineNeed {
  kNothing,  // no rule applies: the line comes out unchanged (but for the mark at its end)
  kMarks,    // only prose punctuation is read ( ) [ ] " : ; ... and a dash that begins the line
  kRules,    // the line reader
};

// Reads a line whose only rules, if any, are prose punctuation, appending its reading to out as
// the line reader would write it (each mark where its character stands, one for the dots of an
// ellipsis, a quote between a word and the suffix after it left out: "Zeki"yi), and sets
// first_mark to where its first mark is in out (std::string::npos for none). Returns kRules,
// having appended nothing, when the line needs the line reader: when it has a digit, an
// apostrophe, a percent or dollar sign, a backslash, a brace passage, a hyphen (but a dash before
// a blank that begins the line), slash, asterisk, underscore or at sign, a sign read by its name
// at the level or three of one sign in a row (decoration), a dot before a letter or after one
// letter or the first word of an abbreviation, two capitals in a row, a word without a vowel, a
// Roman numeral of one letter or a foreign word of the lexicon, a phrase mark's byte, or a
// character other than ASCII and the twelve Turkish letters.
LineNeed ReadPlainLine(std::string_view line, Punctuation level, std::string& out,
                       ReadingTrace& trace, std::size_t& first_mark);

}  // namespace orvanel::reading
