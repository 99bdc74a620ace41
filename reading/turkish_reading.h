// The Turkish reading stage: real Turkish writing (UTF-8) to text that the front end reads
// correctly. Pure and stateless; call it before the conversion to Windows-1254.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace orvanel::reading {

// Rewrites real Turkish writing (numbers, dates, times, ordinals, money, units, abbreviations,
// acronyms, circumflex vowels, suffixes after an apostrophe, typographic signs) into text that
// the designed front end reads correctly. UTF-8 in, UTF-8 out; every character of the output is
// one the Windows-1254 code page holds. Line-local: ReadTurkish(a + "\n" + b) ==
// ReadTurkish(a + "\n") + ReadTurkish(b) for every a, b (callers cut long input at line feeds).
// Ordinary text with nothing to rewrite comes out unchanged. Output at most a fixed multiple of
// the input's length. Never fails: invalid UTF-8 bytes are passed through unchanged.
// "3.750.000 TL'ye" -> "3750000 liraya", "7. kat" -> "yedinci kat", "BDDK" -> "be de de ke"
std::string ReadTurkish(std::string_view utf8);

// The rules of the stage, for reports on what changed a text.
enum class ReadingRule {
  kGroupedNumber,  // 3.750.000, 12 500
  kDecimal,        // 7,25 and 3.14
  kPercent,        // %6,5 and 35%
  kDate,           // 23.04.1920, 29/10/1923
  kTime,           // 19:05, saat 07.30
  kOrdinal,        // 7. kat, 2'nci
  kRoman,          // XVII. yüzyıl
  kMoney,          // 45 TL, ₺7,50
  kUnit,           // 12 km, 37 °C
  kAbbreviation,   // Müh., Gn. Md.
  kAcronym,        // BDDK, HAVELSAN
  kCircumflex,     // kâtip, resmî
  kSuffix,         // Türkiye'de, 7'ye
  kRange,          // 2-3, 1999-2001
  kFraction,       // 3/8, 1½
  kSign,           // … – — typographic quotes, characters outside the code page
};
inline constexpr std::size_t kReadingRuleCount = 16;
std::string_view ReadingRuleName(ReadingRule rule);

// How often each rule rewrote something.
struct ReadingTrace {
  std::array<int, kReadingRuleCount> uses{};
  int Uses(ReadingRule rule) const { return uses[static_cast<std::size_t>(rule)]; }
};

// ReadTurkish, counting the rules it applied into trace.
std::string ReadTurkish(std::string_view utf8, ReadingTrace& trace);

// The output is never longer than this multiple of the input.
inline constexpr std::size_t kMaxReadingGrowth = 16;

namespace detail {
// ReadTurkish without its shortcut for lines where no rule can apply: every line goes through
// the rules. Gives the same text as ReadTurkish; for tests of that shortcut.
std::string ReadEveryLine(std::string_view utf8);
}  // namespace detail

}  // namespace orvanel::reading
