// Cutting the text into pieces: transcribed piece by piece, any text gives exactly the
// PhoneticText of the whole; the safe places to cut a line that is too long.
#include "library/text_pieces.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "codepage/codepage.h"
#include "frontend/text_to_phonetic.h"
#include "library/synthesizer.h"
#include "synth/unit_inventory.h"

namespace orvanel::library {
namespace {

std::string Whole(std::string_view text, TextEncoding encoding) {
  std::string cp;
  if (encoding == TextEncoding::kUtf8) {
    codepage::DecodeError bad;
    EXPECT_TRUE(codepage::Utf8ToCp1254(text, cp, bad));
  } else {
    cp.assign(text);
  }
  std::string phonetic;
  frontend::TextToPhonetic(cp, phonetic);
  return phonetic;
}

std::string Pieced(std::string_view text, TextEncoding encoding) {
  const synth::UnitInventory none;
  Synthesizer synthesizer(none);
  VoiceSettings voice;
  voice.reading = false;
  voice.prosody = false;
  std::string phonetic;
  EXPECT_TRUE(synthesizer.Transcribe(text, encoding, voice, phonetic));
  return phonetic;
}

// Texts dense in what makes cutting hard: escapes, brace passages, line breaks of both kinds,
// repeated symbols, digits against letters, Turkish letters.
std::string RandomText(std::mt19937& rng, std::size_t length, bool utf8) {
  static const char* const kUtf8Pieces[] = {
      "\\",  "{",    "}",     "\r",       "\n",       "\r\n",     " ",
      "  ",  ".",    "..",    ",",        "-",        "a",        "k",
      "12",  "0",    "kitap", "\xC3\xBC", "\xC4\xB1", "\xC5\x9F", "\xE2\x80\x94",
      "\\s", "\\\\", "^",     "`",        "~"};
  static const char* const kCpPieces[] = {"\\",   "{",    "}",   "\r",    "\n",   " ",
                                          ".",    "a",    "12",  "kitap", "\xFC", "\xFD",
                                          "\xFE", "\x80", "\\S", "\0"};
  std::string out;
  while (out.size() < length) {
    if (utf8) {
      out += kUtf8Pieces[rng() % std::size(kUtf8Pieces)];
    } else {
      const char* p = kCpPieces[rng() % std::size(kCpPieces)];
      out += p[0] == '\0' ? std::string(1, '\0') : std::string(p);
    }
  }
  return out;
}

TEST(TextPieces, AnyTextPiecedGivesTheWholeTextsTranscription) {
  std::mt19937 rng(20261209);
  for (int round = 0; round < 300; ++round) {
    const std::string utf8 = RandomText(rng, 1 + rng() % 400, true);
    ASSERT_EQ(Pieced(utf8, TextEncoding::kUtf8), Whole(utf8, TextEncoding::kUtf8)) << utf8;
    const std::string cp = RandomText(rng, 1 + rng() % 400, false);
    ASSERT_EQ(Pieced(cp, TextEncoding::kCp1254), Whole(cp, TextEncoding::kCp1254)) << cp;
  }
}

TEST(TextPieces, LinesLongerThanAPieceAreCutWhereRunsBreak) {
  std::mt19937 rng(7);
  std::string line;
  while (line.size() < 3 * kLongestPiece) line += RandomText(rng, 64, true) + " kitap ";
  std::string noLineBreaks;
  for (char c : line)
    if (c != '\n' && c != '\r') noLineBreaks += c;
  EXPECT_EQ(Pieced(noLineBreaks, TextEncoding::kUtf8), Whole(noLineBreaks, TextEncoding::kUtf8));

  TextPieces pieces(TextEncoding::kUtf8, std::nullopt);
  pieces.Add(noLineBreaks, true);
  Piece piece;
  std::size_t count = 0, longest = 0;
  while (pieces.Next(piece)) {
    ++count;
    longest = std::max<std::size_t>(longest, piece.end - piece.begin);
  }
  EXPECT_GE(count, 3u);
  EXPECT_LE(longest, kLongestPiece);
}

TEST(TextPieces, EachPieceKnowsTheInputOffsetOfEveryByte) {
  TextPieces pieces(TextEncoding::kUtf8, std::nullopt);
  pieces.Add("a\xC3\xBC\nb\r\nc", true);  // a ü LF | b CR LF | c
  Piece piece;
  ASSERT_TRUE(pieces.Next(piece));
  EXPECT_EQ(piece.cp1254, "a\xFC\r\n");
  EXPECT_TRUE(piece.exact);
  EXPECT_EQ(piece.origin, (std::vector<std::uint64_t>{0, 1, 3, 3, 4}));
  ASSERT_TRUE(pieces.Next(piece));
  EXPECT_EQ(piece.cp1254, "b\r\n");
  EXPECT_EQ(piece.origin, (std::vector<std::uint64_t>{4, 5, 6, 7}));
  ASSERT_TRUE(pieces.Next(piece));
  EXPECT_EQ(piece.cp1254, "c");
  EXPECT_TRUE(piece.last);
  EXPECT_FALSE(pieces.Next(piece));
}

// The reading stage's options reach every piece; a piece it rewrote maps only as a whole.
TEST(TextPieces, ReadAtThePunctuationLevel) {
  for (const reading::Punctuation level :
       {reading::Punctuation::kNone, reading::Punctuation::kSome, reading::Punctuation::kAll}) {
    TextPieces pieces(TextEncoding::kUtf8, reading::ReadingOptions{level});
    pieces.Add("Karar: kabul\nBitti", true);
    Piece first, second;
    ASSERT_TRUE(pieces.Next(first));
    ASSERT_TRUE(pieces.Next(second));
    std::string read;
    codepage::DecodeError bad;
    ASSERT_TRUE(codepage::Utf8ToCp1254(reading::ReadTurkish("Karar: kabul\n", {level}), read, bad));
    EXPECT_EQ(first.cp1254, read) << static_cast<int>(level);
    EXPECT_FALSE(first.exact);
    EXPECT_EQ(second.cp1254, "Bitti");
    EXPECT_TRUE(second.exact);
  }
  TextPieces literal(TextEncoding::kUtf8, std::nullopt);
  literal.Add("Karar: kabul", true);
  Piece piece;
  ASSERT_TRUE(literal.Next(piece));
  EXPECT_EQ(piece.cp1254, "Karar: kabul");
  EXPECT_TRUE(piece.exact);
}

TEST(TextPieces, AZeroByteEndsAWindows1254Text) {
  const std::string text("Bir.\rIki\0 Uc.", 13);
  EXPECT_EQ(Pieced(text, TextEncoding::kCp1254), Whole(text, TextEncoding::kCp1254));
}

struct BreakCase {
  const char* text;
  std::size_t expected;  // last safe cut, 0 for none
};

TEST(TextPieces, LastRunBreakIsOutsidePassagesAndEscapes) {
  const BreakCase cases[] = {
      {"kitap kalem", 6},  // after the blank, before a letter
      {"kitap 12", 6},     // before a digit
      {"kitapkalem", 0},   // inside a word
      {"a {b c} d", 8},    // the blank inside the passage does not count
      {"a {b c d", 0},     // an open passage runs to the end
      {"a \\ b", 0},       // an escaped blank is not a symbol to cut after
      {"a\\\\ b", 4},      // a doubled backslash is one backslash, then a blank
      {"\xC3\xA7 a", 3},   // UTF-8 before the blank is fine, the blank is ASCII
      {"a \xC3\xA7", 0},   // never before a non-ASCII letter
      {"a}b", 0},          // a lone } is a run of its own
      {"a\rb", 0},
  };
  for (const BreakCase& c : cases) EXPECT_EQ(LastRunBreak(c.text, 100), c.expected) << c.text;
}

}  // namespace
}  // namespace orvanel::library
