// The three steps of the word transcription, each on its own.
#include <gtest/gtest.h>

#include <vector>

#include "frontend/letter_tables.h"
#include "frontend/unit_names.h"
#include "frontend/word_transcription.h"
#include "tests/frontend/cp1254_text.h"

namespace orvanel::frontend {
namespace {

using testing::Cp;
using testing::Show;

TEST(RewriteLetters, SoftGAndX) {
  struct Case {
    const char8_t* word;
    const char8_t* rewritten;
  };
  const Case cases[] = {
      {u8"dağ", u8"daa^"}, {u8"DAĞ", u8"DAA^"}, {u8"ğa", u8"a"},        {u8"ğğ", u8""},
      {u8"ağğ", u8"aa^"},  {u8"lğa", u8"la"},   {u8"xX", u8"ksKs"},     {u8"öğe", u8"öö^e"},
      {u8"xğ", u8"ks"},    {u8"ığı", u8"ıı^ı"}, {u8"kitap", u8"kitap"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Show(RewriteLetters(Cp(c.word))), Show(Cp(c.rewritten)))
        << reinterpret_cast<const char*>(c.word);
  }
}

TEST(MarkSyllables, KeepsLengthAndLeavesGlideMarksAlone) {
  std::string word = Cp(u8"aa^ağa");
  MarkSyllables(word);
  EXPECT_EQ(Show(word), Show(Cp(u8"AA^AĞa")));
  std::string empty;
  MarkSyllables(empty);
  EXPECT_EQ(empty, "");
  std::string single = "k";
  MarkSyllables(single);
  EXPECT_EQ(single, "K");
}

struct Syllable {
  std::string text;
  char vowel;
  bool operator==(const Syllable&) const = default;
};

void PrintTo(const Syllable& s, std::ostream* os) {
  *os << "{" << Show(s.text) << ", " << Show(std::string(1, s.vowel)) << "}";
}

std::vector<Syllable> Syllables(std::string_view word) {
  std::vector<Syllable> out;
  std::size_t position = 0;
  std::string syllable;
  char vowel = 'x';
  while (NextSyllable(word, position, syllable, vowel)) {
    out.push_back({syllable, vowel});
    if (out.size() > word.size()) break;
  }
  EXPECT_EQ(vowel, '\0') << "the end of the word leaves no deciding vowel";
  return out;
}

TEST(NextSyllable, CutsBeforeUpperCaseLetters) {
  struct Case {
    const char8_t* word;
    std::vector<Syllable> syllables;
  };
  const std::string i_dot = Cp(u8"İ");
  const Case cases[] = {
      {u8"KiTap", {{"Ki", 'i'}, {"Tap", 'a'}}},
      {u8"KaİDe", {{"Ka", i_dot[0]}, {i_dot, i_dot[0]}, {"De", 'e'}}},
      {u8"KİTAp", {{"K", i_dot[0]}, {i_dot, i_dot[0]}, {"T", 'A'}, {"Ap", 'A'}}},
      {u8"Str", {{"Str", '\0'}}},
      {u8"KS", {{"K", '\0'}, {"S", '\0'}}},
      {u8"DaA^", {{"Da", 'A'}, {"A^", 'A'}}},
      {u8"^a", {{"^a", 'a'}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Syllables(Cp(c.word)), c.syllables) << reinterpret_cast<const char*>(c.word);
  }
  EXPECT_TRUE(Syllables("").empty());
}

TEST(FrontMarkConsonant, MarksExactlyTheSlotsWhoseUnitsDiffer) {
  for (int c = 0; c < kConsonantCount; ++c) {
    const char letter = kConsonantTable[c];
    const int slot = c / 2;
    const bool differs = BackConsonantUnitNames[static_cast<std::size_t>(slot)] !=
                         FrontConsonantUnitNames[static_cast<std::size_t>(slot)];
    EXPECT_EQ(FrontMarkConsonant(c, letter),
              differs ? std::string("~") + letter : std::string(1, letter))
        << c;
  }
  EXPECT_EQ(FrontMarkConsonant(-1, 'b'), "b");
  EXPECT_EQ(FrontMarkConsonant(48, 'b'), "b");
}

TEST(MarkFrontConsonants, OnlyFrontDecidedSyllables) {
  struct Case {
    const char8_t* marked;
    const char8_t* result;
  };
  const Case cases[] = {
      {u8"BilGi", u8"~Bi~l~Gi"}, {u8"KaİDe", u8"~Kaİ~De"},  {u8"PiANo", u8"PiANo"},
      {u8"Str", u8"Str"},        {u8"BelGe", u8"~Be~l~Ge"}, {u8"BeLGe", u8"~BeL~Ge"},
      {u8"Kb", u8"Kb"},          {u8"Kebp", u8"~Ke~b~p"},   {u8"", u8""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Show(MarkFrontConsonants(Cp(c.marked))), Show(Cp(c.result)))
        << reinterpret_cast<const char*>(c.marked);
  }
}

TEST(TranscribeWord, AppendingReusesScratchWithoutLeakingBetweenWords) {
  std::string scratch = "leftover";
  std::string out = "X";
  AppendTranscribedWord(Cp(u8"kitap"), scratch, out);
  AppendTranscribedWord(Cp(u8"dağ"), scratch, out);
  EXPECT_EQ(Show(out), Show(Cp(u8"X~KiTapDaA^")));
}

}  // namespace
}  // namespace orvanel::frontend
