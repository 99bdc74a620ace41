// UTF-8 helpers of the reading stage: decoding one character, Turkish letter classes and case,
// and which characters the Windows-1254 code page holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvanel::reading {

inline constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;

// Decodes the character at text[i]; returns its length (1 to 4) and sets cp, or returns 1 with
// cp = kInvalidUtf8 for a byte that does not start a valid sequence (truncated, stray
// continuation byte, overlong form, surrogate, above U+10FFFF).
std::size_t DecodeLongUtf8(std::string_view text, std::size_t i, char32_t& cp) noexcept;
inline std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) noexcept {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  // Two bytes (every Turkish letter), decoded here; the rest out of line.
  if (b0 >= 0xC2 && b0 < 0xE0 && i + 1 < text.size()) {
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    if ((b1 & 0xC0) == 0x80) {
      cp = (static_cast<char32_t>(b0 & 0x1F) << 6) | (b1 & 0x3F);
      return 2;
    }
  }
  return DecodeLongUtf8(text, i, cp);
}
void AppendUtf8(char32_t cp, std::string& out);

// True for a character that Windows-1254 holds (ASCII included).
bool InCp1254(char32_t cp) noexcept;

// Letters of Turkish words: the front end's letter tables (Latin a to z, ÇĞİÖŞÜ, çğıöşü) and the
// circumflex vowels âîû, ÂÎÛ.
inline bool IsCircumflexVowel(char32_t cp) noexcept {
  return cp == U'â' || cp == U'î' || cp == U'û' || cp == U'Â' || cp == U'Î' || cp == U'Û';
}
inline bool IsUpperLetter(char32_t cp) noexcept {
  if (cp < 0x80) return cp >= 'A' && cp <= 'Z';
  return cp == U'Ç' || cp == U'Ğ' || cp == U'İ' || cp == U'Ö' || cp == U'Ş' || cp == U'Ü' ||
         cp == U'Â' || cp == U'Î' || cp == U'Û';
}
inline bool IsLowerLetter(char32_t cp) noexcept {
  if (cp < 0x80) return cp >= 'a' && cp <= 'z';
  return cp == U'ç' || cp == U'ğ' || cp == U'ı' || cp == U'ö' || cp == U'ş' || cp == U'ü' ||
         cp == U'â' || cp == U'î' || cp == U'û';
}
inline bool IsWordLetter(char32_t cp) noexcept { return IsUpperLetter(cp) || IsLowerLetter(cp); }
// Turkish case: the lower case of "I" is "ı", of "İ" is "i"; the circumflex vowels keep theirs.
char32_t ToLowerTurkish(char32_t cp) noexcept;

// Vowels of the harmony: a ı o u (back) and e i ö ü (front); â and û count as back, î as front.
bool IsTurkishVowel(char32_t cp) noexcept;
bool IsBackVowel(char32_t cp) noexcept;
bool IsRoundedVowel(char32_t cp) noexcept;

// The characters of a UTF-8 string (invalid bytes as kInvalidUtf8).
std::u32string DecodeAll(std::string_view utf8);
std::string EncodeAll(std::u32string_view text);
std::string LowerTurkish(std::string_view utf8);

}  // namespace orvanel::reading
