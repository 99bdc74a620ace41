// The word lists of the reading stage: each in the form its rule can match, so that no entry is
// dead (an abbreviation whose first word is too long, an acronym in lower case, a context word
// with a capital) and the foreign words stay in the order of their lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "reading/reading_tables.h"
#include "reading/utf8_text.h"
#include "reading/word_forms.h"

namespace orvanel::reading {
namespace {

TEST(ReadingTables, AbbreviationsBeginWithAShortWordAndADot) {
  for (const Expansion& e : Abbreviations()) {
    const std::size_t dot = e.written.find('.');
    ASSERT_NE(dot, std::string_view::npos) << e.written;
    // The rule looks for a word of at most five letters before a dot.
    EXPECT_LE(DecodeAll(e.written.substr(0, dot)).size(), 5u) << e.written;
    EXPECT_TRUE(BeginsAbbreviation(e.written.substr(0, dot))) << e.written;
    EXPECT_EQ(LowerTurkish(e.reading), e.reading) << e.written;
  }
}

TEST(ReadingTables, AcronymsAreWrittenInCapitals) {
  for (const Acronym& a : KnownAcronyms()) {
    for (const char32_t cp : DecodeAll(a.written)) EXPECT_TRUE(IsUpperLetter(cp)) << a.written;
    EXPECT_EQ(FindAcronym(a.written), &a) << a.written << " is listed twice";
  }
}

TEST(ReadingTables, ContextWordsAreInLowerCase) {
  for (const auto list : {OrdinalHeads(), SentenceStarters(), CountingWords(), NumberedNouns(),
                          TimeOfDayWords(), UnspelledWords()}) {
    for (const std::string_view word : list) EXPECT_EQ(LowerTurkish(word), word);
  }
}

TEST(ReadingTables, ForeignWordsAreLowerCaseAsciiInByteOrder) {
  const auto words = ForeignWords();
  for (std::size_t k = 0; k < words.size(); ++k) {
    const std::string_view w = words[k].written;
    EXPECT_TRUE(std::all_of(w.begin(), w.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || c == '-';
    })) << w;
    if (k > 0) {
      EXPECT_LT(words[k - 1].written, w) << "out of order or twice";
    }
    EXPECT_EQ(FindForeignWord(w), &words[k]);
    EXPECT_TRUE(MayBeForeignWord(w.substr(0, w.find('-')), ForeignCandidates())) << w;
  }
  EXPECT_EQ(FindForeignWord("kitap"), nullptr);
}

TEST(ReadingTables, FileExtensionsAndWebWordsAreLowerCase) {
  for (const auto table : {FileExtensions(), WebWords()}) {
    for (const Expansion& e : table) {
      EXPECT_TRUE(std::none_of(e.written.begin(), e.written.end(), [](char c) {
        return c >= 'A' && c <= 'Z';
      })) << e.written;
      EXPECT_FALSE(e.reading.empty()) << e.written;
    }
  }
  EXPECT_TRUE(IsTopLevelDomain("tr"));
  EXPECT_FALSE(IsTopLevelDomain("www"));
}

TEST(ReadingTables, EveryPunctuationMarkHasAName) {
  for (const char32_t cp : std::u32string_view(U"()[]\"-/\\:;.,!?'…–—*_#&@|~^+=<>%$")) {
    EXPECT_FALSE(SignName(cp).empty()) << static_cast<unsigned>(cp);
  }
  EXPECT_TRUE(SignName(U'a').empty());
}

}  // namespace
}  // namespace orvanel::reading
