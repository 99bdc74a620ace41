// A byte-class walk over the line, for the shortcut past lines no rule applies to.
#include "reading/line_filter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "frontend/phrase_marks.h"
#include "reading/phrase_boundaries.h"
#include "reading/reading_tables.h"
#include "reading/word_forms.h"

namespace orvanel::reading {

namespace {

// True when word (the letters before a dot) is a single letter (a Roman numeral) or begins an
// abbreviation of the table.
bool MayBeAbbreviation(std::string_view word) {
  return (word.size() <= 2 && !word.empty()) || BeginsAbbreviation(word);
}

enum ByteClass : unsigned char {
  kLetter = 1,
  kUpper = 2,
  kVowel = 4,
  kTrigger = 8,
  kDot = 16,
  kTurkish = 32,    // a two-byte Turkish letter
  kNamedSign = 64,  // said by its name at the level "some"
  kProse = 128,     // prose punctuation that only becomes a mark
};

constexpr std::array<unsigned char, 128> kAsciiClasses = [] {
  std::array<unsigned char, 128> classes{};
  for (int c = 'a'; c <= 'z'; ++c) classes[c] = kLetter;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] = kLetter | kUpper;
  for (const char c : {'a', 'e', 'i', 'o', 'u', 'A', 'E', 'I', 'O', 'U'})
    classes[static_cast<unsigned char>(c)] |= kVowel;
  for (int c = '0'; c <= '9'; ++c) classes[c] = kTrigger;
  for (const char c : {'\\', '\'', '%', '$', '-', '/', '*', '_', '@', '{'}) {
    classes[static_cast<unsigned char>(c)] = kTrigger;
  }
  for (const char c : {'(', ')', '[', ']', '"', ':', ';'}) {
    classes[static_cast<unsigned char>(c)] = kProse;
  }
  for (int c = 0x11; c <= 0x19; ++c) classes[c] = kTrigger;  // phrase marks become blanks
  classes[static_cast<unsigned char>(frontend::kNameMark)] = kTrigger;  // and the name mark
  for (const char c : {'#', '|', '~', '^', '&', '+', '=', '<', '>'})
    classes[static_cast<unsigned char>(c)] = kNamedSign;
  classes['.'] = kDot;
  return classes;
}();

// a e i o u as bits from "a".
constexpr std::uint32_t kLowerVowels = 1u << 0 | 1u << 4 | 1u << 8 | 1u << 14 | 1u << 20;

// The classes of the two-byte characters C3 xx, C4 xx and C5 xx by their second byte: the
// Turkish letters (Ç Ö Ü ç ö ü, Ğ İ ğ ı, Ş ş); everything else is kTrigger.
constexpr std::array<std::array<unsigned char, 64>, 3> kTurkishClasses = [] {
  constexpr unsigned char kUpperLetter = kTurkish | kLetter | kUpper;
  constexpr unsigned char kLowerLetter = kTurkish | kLetter;
  std::array<std::array<unsigned char, 64>, 3> classes{};
  for (auto& lead : classes) lead.fill(kTrigger);
  classes[0][0x87 & 0x3F] = kUpperLetter;           // Ç
  classes[0][0x96 & 0x3F] = kUpperLetter | kVowel;  // Ö
  classes[0][0x9C & 0x3F] = kUpperLetter | kVowel;  // Ü
  classes[0][0xA7 & 0x3F] = kLowerLetter;           // ç
  classes[0][0xB6 & 0x3F] = kLowerLetter | kVowel;  // ö
  classes[0][0xBC & 0x3F] = kLowerLetter | kVowel;  // ü
  classes[1][0x9E & 0x3F] = kUpperLetter;           // Ğ
  classes[1][0xB0 & 0x3F] = kUpperLetter | kVowel;  // İ
  classes[1][0x9F & 0x3F] = kLowerLetter;           // ğ
  classes[1][0xB1 & 0x3F] = kLowerLetter | kVowel;  // ı
  classes[2][0x9E & 0x3F] = kUpperLetter;           // Ş
  classes[2][0x9F & 0x3F] = kLowerLetter;           // ş
  return classes;
}();

// The class of the two-byte character b0 b1: a Turkish letter, or kTrigger.
inline unsigned char TurkishLetterClass(unsigned char b0, unsigned char b1) {
  if (b0 < 0xC3 || b0 > 0xC5 || (b1 & 0xC0) != 0x80) return kTrigger;
  return kTurkishClasses[b0 - 0xC3][b1 & 0x3F];
}

bool IsForeignWord(std::string_view word);

// A word no Turkish word can be (no vowel), a Roman numeral of one letter, or one of the foreign
// words.
inline bool WordNeedsReading(std::string_view word, std::size_t letters, bool vowel, bool ascii,
                             const ForeignCandidateBits& foreign) {
  if (letters >= 2 && !vowel) return true;
  // A Roman numeral of one letter after a word: "Ahmet I", "Bölüm V".
  if (letters == 1 && (word[0] == 'I' || word[0] == 'V' || word[0] == 'X' || word[0] == 'L')) {
    return true;
  }
  return ascii && MayBeForeignWord(word, foreign) && IsForeignWord(word);
}

// The word of ASCII letters is one of the foreign words.
bool IsForeignWord(std::string_view word) {
  std::string lower(word);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return FindForeignWord(lower) != nullptr;
}

bool IsAsciiLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The letter (ASCII or Turkish) that ends at byte end - 1 of the line, as its class, or 0.
unsigned char LetterBefore(std::string_view line, std::size_t end) {
  if (end == 0) return 0;
  const auto last = static_cast<unsigned char>(line[end - 1]);
  if (last < 0x80) return kAsciiClasses[last] & (kLetter | kUpper);
  if (end < 2) return 0;
  const unsigned char kind = TurkishLetterClass(static_cast<unsigned char>(line[end - 2]), last);
  return (kind & kTrigger) != 0 ? 0 : kind & (kLetter | kUpper);
}

// True when a word of lower-case letters begins at byte i.
bool LowerWordAt(std::string_view line, std::size_t i) {
  std::size_t letters = 0;
  while (i < line.size()) {
    const auto byte = static_cast<unsigned char>(line[i]);
    unsigned char kind;
    if (byte < 0x80) {
      kind = kAsciiClasses[byte];
    } else {
      kind = kTrigger;
      if (i + 1 < line.size()) {
        kind = TurkishLetterClass(byte, static_cast<unsigned char>(line[i + 1]));
      }
    }
    if ((kind & kLetter) == 0 || (kind & kTrigger) != 0) break;
    if ((kind & kUpper) != 0) return false;
    ++letters;
    i += byte < 0x80 ? 1 : 2;
  }
  return letters > 0;
}

frontend::PhraseBreak ProseBoundary(char c) {
  switch (c) {
    case '(':
    case '[':
      return frontend::PhraseBreak::kParenthesisOpen;
    case ')':
    case ']':
      return frontend::PhraseBreak::kParenthesisClose;
    case ':':
      return frontend::PhraseBreak::kColon;
    case ';':
      return frontend::PhraseBreak::kSemicolon;
    default:
      return frontend::PhraseBreak::kQuote;
  }
}

// The reading of a line as it is scanned: the text before the next mark is copied when the mark
// is written, the rest at the end.
class PlainWriter {
 public:
  PlainWriter(std::string_view line, std::string& out)
      : line_(line), out_(out), begin_(out.size()) {}

  // The characters from i to end become mark (0: nothing).
  void Replace(std::size_t i, std::size_t end, char mark) {
    if (i < copied_) return;  // inside what an earlier mark replaced
    out_.append(line_, copied_, i - copied_);
    copied_ = end;
    if (mark == 0) {
      ++joints_;
      return;
    }
    ++marks_;
    first_mark_ = std::min(first_mark_, out_.size());
    out_ += mark;
  }
  LineNeed Finish(ReadingTrace& trace, std::size_t& first_mark) {
    out_.append(line_, copied_);
    trace.uses[static_cast<std::size_t>(ReadingRule::kPunctuation)] += marks_;
    trace.uses[static_cast<std::size_t>(ReadingRule::kJoint)] += joints_;
    first_mark = first_mark_;
    return marks_ + joints_ > 0 ? LineNeed::kMarks : LineNeed::kNothing;
  }
  LineNeed Rules() {
    out_.resize(begin_);
    return LineNeed::kRules;
  }

 private:
  std::string_view line_;
  std::string& out_;
  std::size_t begin_;
  std::size_t copied_ = 0;
  int marks_ = 0;
  int joints_ = 0;
  std::size_t first_mark_ = std::string::npos;
};

// A prose mark at byte i of the line (its class kProse, or a dot or the dash of a dialogue).
void WriteProse(std::string_view line, std::size_t i, PlainWriter& writer) {
  const char c = line[i];
  if (c == '.') {
    // An ellipsis: "..." or ". . ."; a single dot stays.
    std::size_t end = i + 1;
    while (end < line.size() && line[end] == '.') ++end;
    if (end == i + 1 && line.compare(i + 1, 4, " . .") == 0) end = i + 5;
    if (end > i + 1) writer.Replace(i, end, MarkByte(frontend::PhraseBreak::kEllipsis));
    return;
  }
  if (c == '-') {
    writer.Replace(i, i + 1, MarkByte(frontend::PhraseBreak::kDash));
    return;
  }
  if (c == '"' && LetterBefore(line, i) != 0 && LowerWordAt(line, i + 1)) {
    writer.Replace(i, i + 1, 0);  // "Zeki"yi: the suffix joins its word
    return;
  }
  writer.Replace(i, i + 1, MarkByte(ProseBoundary(c)));
}

}  // namespace

LineNeed ReadPlainLine(std::string_view line, Punctuation level, std::string& out,
                       ReadingTrace& trace, std::size_t& first_mark) {
  PlainWriter writer(line, out);
  const unsigned char named = level == Punctuation::kNone ? 0 : kNamedSign;
  const ForeignCandidateBits& foreign = ForeignCandidates();
  bool previous_upper = false;
  // The word being walked: where it starts, its letters, whether it has a vowel, only ASCII.
  std::size_t word_start = 0;
  std::size_t letters = 0;
  bool vowel = false;
  bool ascii = true;
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n;) {
    const auto byte = static_cast<unsigned char>(line[i]);
    unsigned char kind;
    std::size_t len = 1;
    if (byte < 0x80) {
      kind = kAsciiClasses[byte];
    } else {
      if (i + 1 >= n) return writer.Rules();
      kind = TurkishLetterClass(byte, static_cast<unsigned char>(line[i + 1]));
      len = 2;
    }
    if ((kind & kLetter) != 0) {
      const bool upper = (kind & kUpper) != 0;
      if (upper && previous_upper) return writer.Rules();
      previous_upper = upper;
      if (letters++ == 0) {
        word_start = i;
        vowel = false;
        ascii = true;
      }
      vowel |= (kind & kVowel) != 0;
      ascii &= (kind & kTurkish) == 0;
      i += len;
      // The rest of the word in ASCII lower case, the common case, in a tight loop.
      while (i < n && line[i] >= 'a' && line[i] <= 'z') {
        vowel |= ((kLowerVowels >> (line[i] - 'a')) & 1) != 0;
        ++letters;
        ++i;
        previous_upper = false;
      }
      continue;
    }
    if ((kind & (kTrigger | named)) != 0) {
      // A dialogue dash at the start of the line is only a mark.
      if (i != 0 || byte != '-' || n < 2 || line[1] != ' ') return writer.Rules();
      WriteProse(line, i, writer);
    }
    // Decoration: a run of three of the same sign ("======").
    if ((kind & kNamedSign) != 0 && i + 2 < n && line[i + 1] == line[i] && line[i + 2] == line[i]) {
      return writer.Rules();
    }
    if (letters > 0 &&
        WordNeedsReading(line.substr(word_start, i - word_start), letters, vowel, ascii, foreign)) {
      return writer.Rules();
    }
    if ((kind & kDot) != 0) {
      if (letters > 0 && letters <= 5 &&
          MayBeAbbreviation(line.substr(word_start, i - word_start))) {
        return writer.Rules();
      }
      if (i + 1 < n && IsAsciiLetterOrDigit(line[i + 1])) return writer.Rules();
      WriteProse(line, i, writer);
    } else if ((kind & kProse) != 0) {
      WriteProse(line, i, writer);
    }
    letters = 0;
    previous_upper = false;
    i += len;
  }
  if (letters > 0 &&
      WordNeedsReading(line.substr(word_start, n - word_start), letters, vowel, ascii, foreign)) {
    return writer.Rules();
  }
  return writer.Finish(trace, first_mark);
}

}  // namespace orvanel::reading
