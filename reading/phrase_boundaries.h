// Phrase marks in the reading of a line: the bytes of frontend/phrase_marks.h that stand for
// punctuation heard as a pause. Where several boundaries meet (a closing parenthesis before a
// dash, a quote after a sentence end) one is kept; a line that ends without a sentence end gets
// the mark of a line break, a blank line that of a paragraph.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "frontend/phrase_marks.h"

namespace orvanel::reading {

inline char MarkByte(frontend::PhraseBreak boundary) { return frontend::PhraseMarkByte(boundary); }
inline bool IsMarkByte(char c) { return frontend::PhraseMarkOf(c) != nullptr; }
// The bytes only the stage writes: the phrase marks and the name mark. In the input they become
// blanks.
inline bool IsStageByte(char c) { return IsMarkByte(c) || c == frontend::kNameMark; }

// A line this long (in characters) or longer that does not end with a sentence end is taken as
// prose wrapped at a fixed width: its line feed is a blank, not a boundary.
inline constexpr std::size_t kWrappedLineChars = 60;

// Adds the mark of the end of the line whose reading is out[begin, ...) (written from line): a
// paragraph mark for a blank line, a line-break mark for a line that does not end with a
// sentence end or a mark that ends the stretch (and is not wrapped prose). Returns where it added
// the mark, or std::string::npos.
std::size_t MarkLineEnd(std::string& out, std::size_t begin, std::string_view line);

// Settles the marks of the reading out[begin, ...) of one line. In every cluster of marks,
// blanks and the punctuation ". , ! ?": a sentence end wins over the marks; otherwise the mark
// with the longest pause stays and commas go. Marks before anything spoken on the line go (the
// line's start is a boundary already), and so do marks that end nothing at its very end when no
// line feed follows (feed false). A paragraph mark always stays. from is where the first mark
// is (nothing before it changes).
void SettleMarks(std::string& out, std::size_t begin, std::size_t from, bool feed);

}  // namespace orvanel::reading
