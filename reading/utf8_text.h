// UTF-8 helpers of the reading stage: decoding one character, Turkish letter classes and case,
// and which characters the Windows-1254 code page holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "codepage/codepage.h"

namespace orvanel::reading {

inline constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;

// The character at text[i] as the reading stage walks a line: its length (1 to 4) with cp set,
// or 1 with cp = kInvalidUtf8 for a byte that the code page's decoder refuses, which the stage
// passes through unchanged.
inline std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) noexcept {
  const std::size_t length = codepage::DecodeUtf8(text, i, cp);
  if (length != 0) return length;
  cp = kInvalidUtf8;
  return 1;
}
inline void AppendUtf8(char32_t cp, std::string& out) { codepage::AppendUtf8(out, cp); }

// True for a character that Windows-1254 holds (ASCII included).
inline bool InCp1254(char32_t cp) noexcept { return codepage::CodePointToCp1254(cp).has_value(); }

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
