// The reading stage's Turkish words: number words, ordinals, suffix fitting and letter names.
#include "reading/turkish_words.h"

#include <gtest/gtest.h>

namespace orvanel::reading {
namespace {

TEST(NumberWords, ReadsGroupsAndScales) {
  const struct {
    const char* digits;
    const char* words;
  } kCases[] = {
      {"0", "sıfır"},
      {"7", "yedi"},
      {"10", "on"},
      {"100", "yüz"},
      {"101", "yüz bir"},
      {"1000", "bin"},
      {"1001", "bin bir"},
      {"2000", "iki bin"},
      {"11000", "on bir bin"},
      {"1000000", "bir milyon"},
      {"1001000", "bir milyon bin"},
      {"3750000", "üç milyon yedi yüz elli bin"},
      {"1980", "bin dokuz yüz seksen"},
      {"999999999999999",
       "dokuz yüz doksan dokuz trilyon dokuz yüz doksan dokuz milyar "
       "dokuz yüz doksan dokuz milyon dokuz yüz doksan dokuz bin "
       "dokuz yüz doksan dokuz"},
      {"05", "sıfır beş"},
      {"1000000000000000",
       "bir sıfır sıfır sıfır sıfır sıfır sıfır sıfır sıfır sıfır sıfır "
       "sıfır sıfır sıfır sıfır sıfır"},
  };
  for (const auto& c : kCases) EXPECT_EQ(NumberWords(c.digits), c.words) << c.digits;
  EXPECT_EQ(NumberWords(""), "");
}

TEST(OrdinalWords, FollowsHarmonyAndSoftensFour) {
  const struct {
    const char* reading;
    const char* ordinal;
  } kCases[] = {
      {"bir", "birinci"},       {"iki", "ikinci"},         {"üç", "üçüncü"},
      {"dört", "dördüncü"},     {"altı", "altıncı"},       {"dokuz", "dokuzuncu"},
      {"on", "onuncu"},         {"yirmi", "yirminci"},     {"kırk", "kırkıncı"},
      {"yüz", "yüzüncü"},       {"bin", "bininci"},        {"milyon", "milyonuncu"},
      {"üç yüz", "üç yüzüncü"}, {"on yedi", "on yedinci"}, {"sıfır", "sıfırıncı"},
  };
  for (const auto& c : kCases) EXPECT_EQ(OrdinalWords(c.reading), c.ordinal) << c.reading;
}

TEST(AttachSuffix, FitsTheSuffixToTheNewReading) {
  const struct {
    const char* reading;
    const char* suffix;
    const char* result;
  } kCases[] = {
      {"beş", "e", "beşe"},        // harmony only
      {"altı", "ya", "altıya"},    // the buffer as written
      {"altı", "a", "altıya"},     // a buffer the writer left out
      {"dört", "ü", "dördü"},      // softening before a vowel
      {"dört", "te", "dörtte"},    // no softening before a consonant
      {"yüz", "ü", "yüzü"},        // z does not soften
      {"lira", "ye", "liraya"},    // vowel harmony with the new last vowel
      {"üç", "de", "üçte"},        // d after a voiceless consonant
      {"sekiz", "te", "sekizde"},  // t after a voiced one
      {"on", "un", "onun"},        // genitive after a consonant
      {"iki", "in", "ikinin"},     // genitive after a vowel takes n
      {"yedi", "nin", "yedinin"},  // genitive as written
      {"bin", "nin", "binin"},     // genitive n dropped after a consonant
      {"bin", "ye", "bine"},       // y dropped after a consonant
      {"seksen", "lerde", "seksenlerde"},
      {"doksan", "daki", "doksandaki"},  // "ki" keeps its vowel
      {"iki", "nci", "ikinci"},
      {"dört", "nci", "dördüncü"},  // ordinal after a consonant gains its vowel
      {"ke", "nın", "kenin"},
      {"otuz", "CU", "otuzcu"},  // capitals are lowered
      {"üç", "cü", "üççü"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(AttachSuffix(c.reading, c.suffix), c.result) << c.reading << " + " << c.suffix;
  }
  EXPECT_EQ(AttachSuffix("", "de"), "de");
  EXPECT_EQ(AttachSuffix("beş", ""), "beş");
}

TEST(SplitOrdinalSuffix, FindsTheOrdinalEnding) {
  std::string_view rest;
  EXPECT_TRUE(SplitOrdinalSuffix("nci", rest));
  EXPECT_EQ(rest, "");
  EXPECT_TRUE(SplitOrdinalSuffix("üncüsü", rest));
  EXPECT_EQ(rest, "sü");
  EXPECT_TRUE(SplitOrdinalSuffix("ıncı", rest));
  EXPECT_FALSE(SplitOrdinalSuffix("nin", rest));
  EXPECT_FALSE(SplitOrdinalSuffix("de", rest));
  EXPECT_FALSE(SplitOrdinalSuffix("n", rest));
}

TEST(LetterName, NamesEveryTurkishLetter) {
  EXPECT_EQ(LetterName(U'B'), "be");
  EXPECT_EQ(LetterName(U'k'), "ke");
  EXPECT_EQ(LetterName(U'İ'), "i");
  EXPECT_EQ(LetterName(U'I'), "ı");
  EXPECT_EQ(LetterName(U'Ğ'), "yumuşak ge");
  EXPECT_EQ(LetterName(U'W'), "dabılyu");
  EXPECT_EQ(LetterName(U'7'), "");
  for (char32_t c = U'A'; c <= U'Z'; ++c) EXPECT_FALSE(LetterName(c).empty());
}

}  // namespace
}  // namespace orvanel::reading
