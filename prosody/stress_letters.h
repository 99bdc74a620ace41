// The letters as word stress reads them: the front end's letter tables once per byte value, the
// letter classes of the suffix patterns, and sets of letter positions. Windows-1254 bytes.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frontend/letter_tables.h"

namespace orvanel::prosody::detail {

// Lower-case Windows-1254 letters used below.
inline constexpr char kDotlessI = '\xFD';  // ı
inline constexpr char kUUml = '\xFC';      // ü
inline constexpr char kSoftG = '\xF0';     // ğ
inline constexpr char kRightQuote = '\x92';

// The letter classes of the suffix patterns (see MatchChar), one bit each.
enum : std::uint8_t {
  kClassA = 1,   // a, e
  kClassI = 2,   // ı, i, u, ü
  kClassC = 4,   // a consonant
  kClassV = 8,   // a vowel
  kClassD = 16,  // d, t
  kClassK = 32,  // k, ğ
  kClassM = 64,  // m, y: where the negative, progressive and copula patterns start
};
// The letter tables' lookups, once per byte value: the detectors ask them for every letter.
struct LetterClass {
  std::array<std::int8_t, 256> vowel{};      // VowelIndex or -1
  std::array<std::int8_t, 256> consonant{};  // ConsonantIndex or -1
  std::array<char, 256> lower{};
  std::array<std::uint8_t, 256> classes{};  // kClass bits of a lower-case letter
  LetterClass() {
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const auto i = static_cast<std::size_t>(b);
      vowel[i] = static_cast<std::int8_t>(frontend::VowelLookup(c));
      consonant[i] = static_cast<std::int8_t>(frontend::ConsonantLookup(c));
      lower[i] = frontend::ToLowerLetter(c);
      std::uint8_t bits = 0;
      if (c == 'a' || c == 'e') bits |= kClassA;
      if (c == kDotlessI || c == 'i' || c == 'u' || c == kUUml) bits |= kClassI;
      if (consonant[i] >= 0) bits |= kClassC;
      if (vowel[i] >= 0) bits |= kClassV;
      if (c == 'd' || c == 't') bits |= kClassD;
      if (c == 'k' || c == kSoftG) bits |= kClassK;
      if (c == 'm' || c == 'y') bits |= kClassM;
      classes[i] = bits;
    }
  }
};
inline const LetterClass kLetters;

inline int VowelOf(char c) { return kLetters.vowel[static_cast<unsigned char>(c)]; }
inline int ConsonantOf(char c) { return kLetters.consonant[static_cast<unsigned char>(c)]; }
inline bool IsVowel(char c) { return VowelOf(c) >= 0; }
inline bool IsConsonant(char c) { return ConsonantOf(c) >= 0; }
inline bool IsLowerConsonant(char c) {
  const int k = ConsonantOf(c);
  return k >= 0 && (k & 1) == 1;
}
inline bool IsUpperLetter(char c) {
  const int v = VowelOf(c);
  if (v >= 0) return (v & 1) == 0;
  const int k = ConsonantOf(c);
  return k >= 0 && (k & 1) == 0;
}
inline int VowelUnit(char c) { return VowelOf(c) / 2; }
// A lower-case consonant after which a suffix's d is written t and its c written ç.
inline bool IsVoiceless(char c) {
  return c == '\xE7' || c == 'f' || c == 'h' || c == 'k' || c == 'p' || c == 's' || c == '\xFE' ||
         c == 't';
}

// One character of a suffix pattern: A = a/e, I = ı/i/u/ü, C = consonant, V = vowel, D = d/t,
// K = k/ğ; anything else stands for itself.
inline constexpr std::array<std::uint8_t, 256> kPatternClasses = [] {
  std::array<std::uint8_t, 256> t{};
  t['A'] = kClassA;
  t['I'] = kClassI;
  t['C'] = kClassC;
  t['V'] = kClassV;
  t['D'] = kClassD;
  t['K'] = kClassK;
  return t;
}();
inline bool MatchChar(char p, char c) {
  const std::uint8_t wanted = kPatternClasses[static_cast<unsigned char>(p)];
  if (wanted != 0) return (kLetters.classes[static_cast<unsigned char>(c)] & wanted) != 0;
  return p == c;
}

inline bool MatchAt(std::string_view w, std::size_t pos, std::string_view pattern) {
  if (pos + pattern.size() > w.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (!MatchChar(pattern[i], w[pos + i])) return false;
  }
  return true;
}
inline bool EndsWith(std::string_view w, std::string_view pattern) {
  return w.size() >= pattern.size() && MatchAt(w, w.size() - pattern.size(), pattern);
}

// A set of letter positions of a word (at most 256 letters).
struct Positions {
  std::array<std::uint64_t, 4> bits;  // the first `used` are set
  std::size_t used = 0;
  // f(p) for every position p >= from, in increasing order.
  template <class F>
  void ForEachFrom(std::size_t from, F f) const {
    for (std::size_t k = from >> 6; k < used; ++k) {
      std::uint64_t b = bits[k];
      if (k == from >> 6) b &= ~std::uint64_t{0} << (from & 63);
      while (b != 0) {
        f(k * 64 + static_cast<std::size_t>(std::countr_zero(b)));
        b &= b - 1;
      }
    }
  }
};

}  // namespace orvanel::prosody::detail
