// The Turkish reading stage: real Turkish writing (UTF-8) to text that the front end reads
// correctly. Pure and stateless; call it before the conversion to Windows-1254.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvanel::reading {

// How much punctuation is said aloud. Whatever the level, the punctuation of prose is heard as
// pauses: the stage writes phrase marks (frontend/phrase_marks.h) where it stands.
enum class Punctuation : std::uint8_t {
  kNone,  // prose punctuation silent; signs said where they mean something ("3 + 4", "%20")
  kSome,  // also every sign said by its name ("*" yıldız, "#" diyez, "_" alt çizgi)
  kAll,   // every mark said by its name, prose punctuation too ("nokta", "parantez aç")
};

struct ReadingOptions {
  Punctuation punctuation = Punctuation::kNone;
};

// Rewrites real Turkish writing (numbers, dates, times, ordinals, money, units, abbreviations,
// acronyms, circumflex vowels, suffixes after an apostrophe, signs, punctuation, web and e-mail
// addresses, file names, phone numbers, common foreign words) into text that the front end reads
// correctly. UTF-8 in, UTF-8 out; every character of the output is one the Windows-1254 code page
// holds. Prose punctuation becomes phrase marks, the bytes 0x11 to 0x19 (a line that ends
// without punctuation gets a line-break mark, a blank line a paragraph mark); those bytes in the
// input become blanks, so that every mark comes from the stage. Line-local:
// ReadTurkish(a + "\n" + b) == ReadTurkish(a + "\n") + ReadTurkish(b) for every a, b (callers
// cut long input at line feeds). Ordinary text with nothing to rewrite comes out unchanged.
// Output at most a fixed multiple of the input's length. Never fails: invalid UTF-8 bytes are
// passed through unchanged.
// "3.750.000 TL'ye" -> "3750000 liraya", "7. kat" -> "yedinci kat", "BDDK" -> "be de de ke",
// "Karar: kabul" -> "Karar\x15 kabul"
std::string ReadTurkish(std::string_view utf8, const ReadingOptions& options = {});

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
  kSign,           // ± × ≤ ‰ −, characters outside the code page
  kPunctuation,    // ( ) " : ; … – as pauses (or names, by the punctuation level)
  kJoint,          // İzmir-Ankara, öğrenci/öğretmen, e-fatura
  kLineEnd,        // a line without a sentence end, a blank line
  kScreenText,     // rapor.pdf, 4.2.1, www.orvanel.org.tr, bilgi@orvanel.org, phone numbers
  kForeignWord,    // WhatsApp, online
};
inline constexpr std::size_t kReadingRuleCount = 21;
std::string_view ReadingRuleName(ReadingRule rule);

// How often each rule rewrote something.
struct ReadingTrace {
  std::array<int, kReadingRuleCount> uses{};
  int Uses(ReadingRule rule) const { return uses[static_cast<std::size_t>(rule)]; }
};

// ReadTurkish, counting the rules it applied into trace.
std::string ReadTurkish(std::string_view utf8, ReadingTrace& trace,
                        const ReadingOptions& options = {});

// The output is never longer than this multiple of the input.
inline constexpr std::size_t kMaxReadingGrowth = 16;

namespace detail {
// ReadTurkish without its shortcut for lines where no rule can apply: every line goes through
// the rules. Gives the same text as ReadTurkish; for tests of that shortcut.
std::string ReadEveryLine(std::string_view utf8, const ReadingOptions& options = {});
}  // namespace detail

}  // namespace orvanel::reading
