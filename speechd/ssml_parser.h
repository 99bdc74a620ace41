// The SSML that the speech server sends, as the module speaks it: plain text with entities
// decoded, index marks, pauses and spelled runs, in order. Pure; never fails: markup it cannot
// read is spoken as the text it is.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace orvanel::speechd {

enum class PieceKind {
  kText,        // UTF-8 text to read
  kMark,        // <mark name="..."/>: text holds the name
  kBreak,       // <break time="..."/>: ms holds the length
  kCharacters,  // <say-as interpret-as="characters">: text to spell letter by letter
};

struct SsmlPiece {
  PieceKind kind = PieceKind::kText;
  std::string text;
  std::uint32_t ms = 0;

  friend bool operator==(const SsmlPiece&, const SsmlPiece&) = default;
};

// For test messages: "text(...)", "mark(...)", "break(N)", "spell(...)".
void PrintTo(const SsmlPiece& piece, std::ostream* os);

// Longest pause one <break> gives; longer times are cut to this.
inline constexpr std::uint32_t kMaxBreakMs = 10'000;

// "<speak>a &amp; b<mark name=\"m\"/>c</speak>" -> {Text "a & b"}, {Mark "m"}, {Text "c"}.
// Adjacent text is merged; invalid UTF-8 and zero bytes in text become blanks.
std::vector<SsmlPiece> ParseSsml(std::string_view ssml);

// "1.5s" -> 1500, "250ms" -> 250, "300" -> 300 (ms); nothing readable -> -1. Cut to kMaxBreakMs.
std::int64_t ParseBreakTime(std::string_view value);

// The text with every invalid UTF-8 sequence and every zero byte replaced by one blank.
std::string SanitizeUtf8(std::string_view text);

}  // namespace orvanel::speechd
