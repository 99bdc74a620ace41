// Escapes, character classes, runs and the spelling of single letters.
#include <gtest/gtest.h>

#include <vector>

#include "frontend/letter_tables.h"
#include "frontend/text_scanner.h"
#include "tests/frontend/cp1254_text.h"

namespace orvanel::frontend {
namespace {

using testing::Cp;
using testing::Show;

TEST(ApplyEscapes, RewritesTheTwelveLettersAndNeverGrows) {
  std::string text = Cp("\\C\\G\\I\\O\\S\\U\\c\\g\\i\\o\\s\\u");
  ApplyEscapes(text);
  EXPECT_EQ(Show(text), Show(Cp(u8"ÇĞİÖŞÜçğıöşü")));
  for (const auto& escape : kLetterEscapes) {
    std::string one = {'\\', escape.typed};
    ApplyEscapes(one);
    EXPECT_EQ(one, std::string(1, escape.written));
  }
}

TEST(ApplyEscapes, ZeroByteEndsTheText) {
  std::string text("a\\sb\0\\sc", 8);
  ApplyEscapes(text);
  EXPECT_EQ(text,
            "a\xFE"
            "b");
  std::string backslash_then_zero("a\\\0b", 4);
  ApplyEscapes(backslash_then_zero);
  EXPECT_EQ(backslash_then_zero, "a");
}

TEST(ClassifyChar, EveryByte) {
  for (int b = 0; b < 256; ++b) {
    const char ch = static_cast<char>(b);
    CharClass expected = CharClass::kOther;
    if (VowelLookup(ch) >= 0 || ConsonantLookup(ch) >= 0) {
      expected = CharClass::kLetter;
    } else if (b >= '0' && b <= '9') {
      expected = CharClass::kDigit;
    } else if (b == '{') {
      expected = CharClass::kOpenBrace;
    } else if (b == '}') {
      expected = CharClass::kCloseBrace;
    } else if (b == 13) {
      expected = CharClass::kCarriageReturn;
    }
    EXPECT_EQ(ClassifyChar(ch), expected) << b;
  }
  EXPECT_EQ(ClassifyChar('\xE2'), CharClass::kOther);  // â
  EXPECT_EQ(ClassifyChar('\xB2'), CharClass::kOther);  // superscript two is no digit
  EXPECT_EQ(ClassifyChar('\n'), CharClass::kOther);
}

struct ScannedRun {
  std::string text;
  RunKind kind;
  bool operator==(const ScannedRun&) const = default;
};

std::vector<ScannedRun> Runs(std::string_view text) {
  std::vector<ScannedRun> runs;
  std::size_t position = 0;
  std::string run;
  RunKind kind = RunKind::kSymbols;
  while (NextRun(text, position, run, kind)) {
    runs.push_back({run, kind});
    if (runs.size() > text.size() + 1) break;  // no progress: fail below, do not hang
  }
  return runs;
}

void PrintTo(const ScannedRun& run, std::ostream* os) {
  *os << "{" << Show(run.text) << ", " << static_cast<int>(run.kind) << "}";
}

TEST(NextRun, CutsTextIntoRunsOfOneClass) {
  using K = RunKind;
  struct Case {
    std::string text;
    std::vector<ScannedRun> runs;
  };
  const Case cases[] = {
      {"", {}},
      {"ab, 12a",
       {{"ab", K::kWord}, {", ", K::kSymbols}, {"12", K::kNumber}, {"a", K::kSingleLetter}}},
      {"{DoKuz}x", {{"DoKuz", K::kLiteral}, {"x", K::kSingleLetter}}},
      {"{abc", {{"abc", K::kLiteral}}},
      {"{}", {{"", K::kLiteral}}},
      {"{Ka\r\nya}",
       {{"Ka", K::kLiteral}, {"\n", K::kSymbols}, {"ya", K::kWord}, {"}", K::kLiteral}}},
      {"}}\r\r", {{"}}", K::kLiteral}, {"\r\r", K::kLiteral}}},
      {Cp(u8"kâr"), {{"k", K::kSingleLetter}, {"\xE2", K::kSymbols}, {"r", K::kSingleLetter}}},
      {"a{", {{"a", K::kSingleLetter}, {"", K::kLiteral}}},
      {std::string("ab\0cd", 5), {{"ab", K::kWord}}},
      {std::string("  \0  ", 5), {{"  ", K::kSymbols}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Runs(c.text), c.runs) << Show(c.text);
  }
}

TEST(NextRun, AtTheEndLeavesRunAndKindAlone) {
  std::string run = "kept";
  RunKind kind = RunKind::kNumber;
  std::size_t position = 3;
  EXPECT_FALSE(NextRun("abc", position, run, kind));
  EXPECT_EQ(run, "kept");
  EXPECT_EQ(kind, RunKind::kNumber);
  position = 1;
  EXPECT_FALSE(NextRun(std::string_view("a\0b", 3), position, run, kind));
  EXPECT_EQ(position, 1u);
}

TEST(SpellLetter, EveryLetterOfBothCases) {
  for (int c = 0; c < kConsonantCount; ++c) {
    const std::string letter(1, kConsonantTable[c]);
    EXPECT_EQ(SpellLetter(letter), LetterNameTable[static_cast<std::size_t>(c / 2)]) << c;
  }
  for (int v = 0; v < kVowelCount; ++v) {
    const std::string letter(1, kVowelTable[v]);
    EXPECT_EQ(SpellLetter(letter), letter + letter) << v;
  }
  EXPECT_EQ(SpellLetter("?"), "?");
  EXPECT_EQ(SpellLetter(""), "");
  EXPECT_EQ(SpellLetter("ab"), "ab");
}

}  // namespace
}  // namespace orvanel::frontend
