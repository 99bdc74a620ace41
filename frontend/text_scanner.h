// The scanner of typed text: backslash escapes for the Turkish letters, character classes, runs
// of one class (and brace passages of hand-written PhoneticText), and the spelling of single
// letters. Examples are shown in readable letters; the strings hold Windows-1254 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvanel::frontend {

enum class CharClass : int {
  kOther = 0,           // blanks, line feed, tab, punctuation, bytes outside the letter tables
  kLetter = 1,          // a letter of the vowel or consonant table
  kDigit = 2,           // "0" to "9"
  kOpenBrace = 3,       // "{"
  kCloseBrace = 4,      // "}"
  kCarriageReturn = 5,  // byte 13
};

enum class RunKind : int {
  kSymbols = 0,       // a run of Other characters
  kWord = 1,          // two or more letters
  kNumber = 2,        // digits
  kSingleLetter = 3,  // exactly one letter
  kLiteral = 4,       // a brace passage, or a run of "}" or of carriage returns: copied
};

// The spoken name of each consonant slot, for a letter typed on its own.
// clang-format off
inline constexpr std::array<std::string_view, 24> LetterNameTable = {
    "Bee", "Cee", "\xC7" "ee", "Dee", "Fee", "~Gee", "YuMu\xDE" "ak` ~Gee", "Haa",
    "Jee", "Kaa", "Lee", "Mee", "Nee", "Pee", "Quu", "Ree",
    "See", "\xFE" "ee", "Tee", "Vee", "Da`BIlYuu", "i~ks", "Yee", "Zee"};
// clang-format on

// The twelve escapes: "\C" -> "Ç", "\I" -> "İ", "\i" -> "ı", "\s" -> "ş" and so on.
struct LetterEscape {
  char typed;
  char written;
};
inline constexpr std::array<LetterEscape, 12> kLetterEscapes = {{
    {'C', '\xC7'},
    {'G', '\xD0'},
    {'I', '\xDD'},
    {'O', '\xD6'},
    {'S', '\xDE'},
    {'U', '\xDC'},
    {'c', '\xE7'},
    {'g', '\xF0'},
    {'i', '\xFD'},
    {'o', '\xF6'},
    {'s', '\xFE'},
    {'u', '\xFC'},
}};

// Rewrites backslash escapes in place; text never grows. A backslash is dropped and the next
// character is written as its Turkish letter, or as itself ("\\" -> "\", "\\C" -> "\C"); a
// backslash at the end disappears. A zero byte ends the text: text is cut where the rewriting
// stopped, so whatever followed a zero byte is dropped. source, when given, receives for every
// byte of the rewritten text the offset of the typed byte it came from (an escape's backslash),
// and one last entry: the typed offset where the rewriting stopped. "a\sb" -> "aşb", 0 1 3 4.
void ApplyEscapes(std::string& text, std::vector<std::uint32_t>* source = nullptr);

CharClass ClassifyChar(char ch) noexcept;

// Takes the run that starts at position and moves position past it. False at the end of the
// text (position at its end or at a zero byte); run and kind are then left as they were.
// "{DoKuz}" -> Literal "DoKuz"; "{abc" -> Literal "abc"; "kitap," -> Word "kitap".
bool NextRun(std::string_view text, std::size_t& position, std::string& run, RunKind& kind);

// "a" -> "aa", "b" -> "Bee", "ğ" -> "YuMuŞak` ~Gee"; anything else comes back unchanged.
std::string SpellLetter(std::string_view run);
void AppendSpelledLetter(std::string_view run, std::string& out);

}  // namespace orvanel::frontend
