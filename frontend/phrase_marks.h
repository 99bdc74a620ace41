// Phrase marks: the bytes of PhoneticText that stand for punctuation a reader hears as a pause
// and a phrase boundary rather than says. The Turkish reading stage writes them; the planner
// reads them only when asked to (outside the literal reading), and otherwise ignores them like
// every byte outside its tables. Prosody learns from the planner which boundary each pause is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvanel::frontend {

// The boundary a silence stands for.
enum class PhraseBreak : std::uint8_t {
  kNone = 0,          // a blank or carriage return between words
  kComma,             // ","
  kParenthesisOpen,   // "(" and "[" before an aside
  kParenthesisClose,  // ")" and "]" after it
  kQuote,             // a quotation mark, straight or typographic
  kDash,              // a dash between words: an aside or an afterthought
  kColon,             // ":" after a word
  kSemicolon,         // ";"
  kEllipsis,          // "..." and "…"
  kLineBreak,         // the end of a line (a heading, a list item) without a sentence end
  kParagraph,         // a blank line
  kSentenceEnd,       // ".", "!", "?" (and ":" ";" in hand-written PhoneticText)
};
inline constexpr int kPhraseBreakCount = 12;

struct PhraseMark {
  char byte;
  PhraseBreak boundary;
  std::int32_t
      pauseMs;       // at the base rate, like the notation's own pauses (comma 100, sentence 700)
  bool endsStretch;  // planned as a sentence end: the stretch ends after it
};

// Pauses: a comma is 100 ms and a sentence end 700 ms in the notation; the marks sit between
// them by the strength of the boundary (docs/reading/punctuation.md has the measurements). An
// aside in parentheses or quotes is set off a little longer than a comma, the tune doing the
// rest; a dash, a colon and a semicolon close a clause, each a little more; an ellipsis and a
// line (a heading, a list item) end the phrase's stretch like a sentence, a little shorter. A
// paragraph follows the end of a sentence or a line in the stretch before it, so that its own
// pause is what it adds to that one: 700 + 550 ms after a sentence.
inline constexpr std::array<PhraseMark, 9> kPhraseMarks = {{
    {'\x11', PhraseBreak::kParenthesisOpen, 120, false},
    {'\x12', PhraseBreak::kParenthesisClose, 120, false},
    {'\x13', PhraseBreak::kQuote, 120, false},
    {'\x14', PhraseBreak::kDash, 250, false},
    {'\x15', PhraseBreak::kColon, 300, false},
    {'\x16', PhraseBreak::kSemicolon, 350, false},
    {'\x17', PhraseBreak::kEllipsis, 500, true},
    {'\x18', PhraseBreak::kLineBreak, 450, true},
    {'\x19', PhraseBreak::kParagraph, 550, true},
}};

constexpr bool MarksInByteOrder() {
  for (std::size_t k = 0; k < kPhraseMarks.size(); ++k)
    if (static_cast<unsigned char>(kPhraseMarks[k].byte) != 0x11 + k) return false;
  return true;
}
static_assert(MarksInByteOrder(), "the marks are the bytes 0x11 to 0x19, in order");

// The mark of a byte, or nullptr when the byte is none.
constexpr const PhraseMark* PhraseMarkOf(char byte) noexcept {
  const auto b = static_cast<unsigned char>(byte);
  if (b < 0x11 || b > 0x19) return nullptr;
  return &kPhraseMarks[b - 0x11];
}

// The next word is a proper name: the Turkish reading stage writes this byte directly before a
// word that it joined with the suffixes after an apostrophe ("Adana'ya" -> "Adanaya"), so that
// word stress still reads the word as a name. The planner ignores the byte like every byte
// outside its tables, and the front end passes it through as a symbol.
inline constexpr char kNameMark = '\x1F';

// The byte that writes a boundary, or 0 for one that has no mark of its own.
constexpr char PhraseMarkByte(PhraseBreak boundary) noexcept {
  for (const PhraseMark& m : kPhraseMarks)
    if (m.boundary == boundary) return m.byte;
  return 0;
}

}  // namespace orvanel::frontend
