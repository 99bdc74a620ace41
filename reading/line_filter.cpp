// A byte-class walk over the line, for the shortcut past lines no rule applies to.
#include "reading/line_filter.h"

#include <array>

#include "reading/reading_tables.h"
#include "reading/word_forms.h"

namespace orvanel::reading {

namespace {

// True when word (the letters before a dot) is a single letter (a Roman numeral) or begins an
// abbreviation of the table.
bool MayBeAbbreviation(std::string_view word) {
  if (word.size() <= 2 && !word.empty()) return true;  // one letter, ASCII or Turkish
  for (const Expansion& e : Abbreviations()) {
    if (e.written.substr(0, e.written.find('.')) == word) return true;
  }
  return false;
}

enum ByteClass : unsigned char {
  kLetter = 1,
  kUpper = 2,
  kVowel = 4,
  kTrigger = 8,
  kDot = 16,
  kTurkish = 32,    // a two-byte Turkish letter
  kNamedSign = 64,  // said by its name at the level "some"
};

constexpr std::array<unsigned char, 128> kAsciiClasses = [] {
  std::array<unsigned char, 128> classes{};
  for (int c = 'a'; c <= 'z'; ++c) classes[c] = kLetter;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] = kLetter | kUpper;
  for (const char c : {'a', 'e', 'i', 'o', 'u', 'A', 'E', 'I', 'O', 'U'})
    classes[static_cast<unsigned char>(c)] |= kVowel;
  for (int c = '0'; c <= '9'; ++c) classes[c] = kTrigger;
  for (const char c :
       {'\\', '\'', '%', '$', '(', ')', '[', ']', '"', ':', ';', '-', '/', '*', '_', '@'}) {
    classes[static_cast<unsigned char>(c)] = kTrigger;
  }
  for (int c = 0x11; c <= 0x19; ++c) classes[c] = kTrigger;  // phrase marks become blanks
  for (const char c : {'#', '|', '~', '^', '&', '+', '=', '<', '>'})
    classes[static_cast<unsigned char>(c)] = kNamedSign;
  classes['.'] = kDot;
  return classes;
}();

// The class of the two-byte Turkish letter b0 b1 (Ç Ö Ü ç ö ü, Ğ İ ğ ı, Ş ş), or kTrigger.
unsigned char TurkishLetterClass(unsigned char b0, unsigned char b1) {
  constexpr unsigned char kUpperLetter = kTurkish | kLetter | kUpper;
  constexpr unsigned char kLowerLetter = kTurkish | kLetter;
  switch (b0) {
    case 0xC3:
      if (b1 == 0x87) return kUpperLetter;                         // Ç
      if (b1 == 0x96 || b1 == 0x9C) return kUpperLetter | kVowel;  // Ö Ü
      if (b1 == 0xA7) return kLowerLetter;                         // ç
      if (b1 == 0xB6 || b1 == 0xBC) return kLowerLetter | kVowel;  // ö ü
      return kTrigger;
    case 0xC4:
      if (b1 == 0x9E) return kUpperLetter;           // Ğ
      if (b1 == 0xB0) return kUpperLetter | kVowel;  // İ
      if (b1 == 0x9F) return kLowerLetter;           // ğ
      if (b1 == 0xB1) return kLowerLetter | kVowel;  // ı
      return kTrigger;
    case 0xC5:
      if (b1 == 0x9E) return kUpperLetter;  // Ş
      if (b1 == 0x9F) return kLowerLetter;  // ş
      return kTrigger;
    default:
      return kTrigger;
  }
}

// The letters of a word, as the walk collects them.
struct WordSeen {
  std::size_t start = 0;
  std::size_t letters = 0;
  bool vowel = false;
  bool ascii = true;

  // A word no Turkish word can be (no vowel), or one of the foreign words.
  bool NeedsReading(std::string_view line, std::size_t end) const {
    if (letters >= 2 && !vowel) return true;
    if (!ascii || !MayBeForeignWord(line.substr(start, end - start))) return false;
    std::string lower(line.substr(start, end - start));
    for (char& c : lower) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return FindForeignWord(lower) != nullptr;
  }
};

bool IsAsciiLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

bool MayNeedReading(std::string_view line, Punctuation level) {
  const unsigned char named = level == Punctuation::kNone ? 0 : kNamedSign;
  bool previous_upper = false;
  WordSeen word;
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n;) {
    const auto byte = static_cast<unsigned char>(line[i]);
    unsigned char kind;
    std::size_t len = 1;
    if (byte < 0x80) {
      kind = kAsciiClasses[byte];
    } else {
      if (i + 1 >= n) return true;
      kind = TurkishLetterClass(byte, static_cast<unsigned char>(line[i + 1]));
      len = 2;
    }
    if ((kind & (kTrigger | named)) != 0) return true;
    // Decoration: a run of three of the same sign ("======").
    if ((kind & kNamedSign) != 0 && i + 2 < n && line[i + 1] == line[i] && line[i + 2] == line[i]) {
      return true;
    }
    if ((kind & kLetter) != 0) {
      const bool upper = (kind & kUpper) != 0;
      if (upper && previous_upper) return true;
      previous_upper = upper;
      if (word.letters++ == 0) word = {i, 1, false, true};
      word.vowel |= (kind & kVowel) != 0;
      word.ascii &= (kind & kTurkish) == 0;
    } else {
      if (word.letters > 0 && word.NeedsReading(line, i)) return true;
      if ((kind & kDot) != 0) {
        if (word.letters > 0 && word.letters <= 5 &&
            MayBeAbbreviation(line.substr(word.start, i - word.start))) {
          return true;
        }
        if (i + 1 < n && (line[i + 1] == '.' || IsAsciiLetterOrDigit(line[i + 1]))) return true;
        if (i + 2 < n && line[i + 1] == ' ' && line[i + 2] == '.') return true;  // ". . ."
      }
      word.letters = 0;
      previous_upper = false;
    }
    i += len;
  }
  return word.letters > 0 && word.NeedsReading(line, n);
}

}  // namespace orvanel::reading
