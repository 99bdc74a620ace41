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
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp) noexcept;
void AppendUtf8(char32_t cp, std::string& out);

// True for a character that Windows-1254 holds (ASCII included).
bool InCp1254(char32_t cp) noexcept;

// Letters of Turkish words: the front end's letter tables (Latin a to z, ÇĞİÖŞÜ, çğıöşü) and the
// circumflex vowels âîû, ÂÎÛ.
bool IsWordLetter(char32_t cp) noexcept;
bool IsCircumflexVowel(char32_t cp) noexcept;
// Turkish case: the lower case of "I" is "ı", of "İ" is "i"; the circumflex vowels keep theirs.
char32_t ToLowerTurkish(char32_t cp) noexcept;
bool IsUpperLetter(char32_t cp) noexcept;
bool IsLowerLetter(char32_t cp) noexcept;

// Vowels of the harmony: a ı o u (back) and e i ö ü (front); â and û count as back, î as front.
bool IsTurkishVowel(char32_t cp) noexcept;
bool IsBackVowel(char32_t cp) noexcept;
bool IsRoundedVowel(char32_t cp) noexcept;

// The characters of a UTF-8 string (invalid bytes as kInvalidUtf8).
std::u32string DecodeAll(std::string_view utf8);
std::string EncodeAll(std::u32string_view text);
std::string LowerTurkish(std::string_view utf8);

}  // namespace orvanel::reading
