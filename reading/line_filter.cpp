// A byte-class walk over the line, for the shortcut past lines no rule applies to.
#include "reading/line_filter.h"

#include <array>

#include "reading/reading_tables.h"

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

enum ByteClass : unsigned char { kOtherByte, kLowerByte, kUpperByte, kTriggerByte, kDotByte };

constexpr std::array<unsigned char, 128> kAsciiClasses = [] {
  std::array<unsigned char, 128> classes{};
  for (int c = 'a'; c <= 'z'; ++c) classes[c] = kLowerByte;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] = kUpperByte;
  for (int c = '0'; c <= '9'; ++c) classes[c] = kTriggerByte;
  for (const char c : {'\\', '\'', '%', '$'}) classes[static_cast<unsigned char>(c)] = kTriggerByte;
  classes['.'] = kDotByte;
  return classes;
}();

// The class of the two-byte Turkish letter b0 b1 (Ç Ö Ü ç ö ü, Ğ İ ğ ı, Ş ş), or kTriggerByte.
unsigned char TurkishLetterClass(unsigned char b0, unsigned char b1) {
  switch (b0) {
    case 0xC3:
      if (b1 == 0x87 || b1 == 0x96 || b1 == 0x9C) return kUpperByte;
      if (b1 == 0xA7 || b1 == 0xB6 || b1 == 0xBC) return kLowerByte;
      return kTriggerByte;
    case 0xC4:
      if (b1 == 0x9E || b1 == 0xB0) return kUpperByte;
      if (b1 == 0x9F || b1 == 0xB1) return kLowerByte;
      return kTriggerByte;
    case 0xC5:
      if (b1 == 0x9E) return kUpperByte;
      if (b1 == 0x9F) return kLowerByte;
      return kTriggerByte;
    default:
      return kTriggerByte;
  }
}

}  // namespace

bool MayNeedReading(std::string_view line) {
  bool previous_upper = false;
  std::size_t word_letters = 0;
  std::size_t word_start = 0;
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
    switch (kind) {
      case kTriggerByte:
        return true;
      case kDotByte:
        if (word_letters > 0 && word_letters <= 5 &&
            MayBeAbbreviation(line.substr(word_start, i - word_start))) {
          return true;
        }
        [[fallthrough]];
      case kOtherByte:
        word_letters = 0;
        previous_upper = false;
        break;
      default: {
        const bool upper = kind == kUpperByte;
        if (upper && previous_upper) return true;
        previous_upper = upper;
        if (word_letters++ == 0) word_start = i;
      }
    }
    i += len;
  }
  return false;
}

}  // namespace orvanel::reading
