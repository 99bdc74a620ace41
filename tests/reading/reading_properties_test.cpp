// Properties of the reading stage on hostile and random input: line-local, bounded output,
// only characters of the code page, and ordinary sentences left exactly as they are.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "reading/reading_tables.h"
#include "reading/turkish_reading.h"
#include "reading/utf8_text.h"

namespace orvanel::reading {
namespace {

// Inputs that stress every rule's edges: cut-off patterns, long runs, escapes, braces, bytes.
const std::vector<std::string>& HostileInputs() {
  static const std::vector<std::string> kInputs = {
      "",
      "\n",
      "\n\n\n",
      "7.",
      "7. ",
      "7. k",
      "1.",
      ".1",
      "1.2.3.4.5.6.7.8.9",
      "1.000.000.000.000.000.000.000.000.000.000",
      std::string(200, '9') + "'e",
      std::string(70, '1') + ". kat",
      "0'" + std::string(50, 'a'),
      "1'nci'nci'nci",
      "4'ü 4'ü 4'ü 4'ü",
      "19:",
      ":05",
      "99:99",
      "1/",
      "/2",
      "1/0",
      "0/0",
      "%",
      "%%%",
      "% ",
      "₺",
      "₺₺7",
      "€,5",
      "5,",
      ",5",
      "5 TL'",
      "5 km/",
      "°",
      "5°",
      "5²³",
      "MMMM. yıl",
      "IIII. yıl",
      "M. yıl",
      "XVII.",
      "Ğ'",
      "ĞĞĞĞĞ",
      "WWWWW'nin",
      "âââ",
      "kâ",
      "k\\â",
      "\\",
      "\\\\",
      "\\{",
      "{",
      "}",
      "{\\}",
      "{\r7. kat",
      "a\r\nb",
      "\xFF\xFE\xC3",
      "\xC3\x28",
      "\xE2\x82",
      "\xF0\x9F\x98\x80",
      "\xED\xA0\x80",
      "\xC0\xAF",
      std::string(1, '\0') + "7. kat",
      "Müh.Müh.Müh.",
      "A.Ş.A.Ş.",
      "'''''",
      "’’’",
      "½½½",
      "¾'ü",
      "…………",
      std::string(300, '\''),
  };
  return kInputs;
}

void CheckProperties(const std::string& input) {
  SCOPED_TRACE(input);
  const std::string out = ReadTurkish(input);
  EXPECT_LE(out.size(), kMaxReadingGrowth * input.size());
  // The shortcut for lines no rule applies to changes nothing.
  EXPECT_EQ(out, detail::ReadEveryLine(input));
  // Line-local at every line feed.
  for (std::size_t cut = input.find('\n'); cut != std::string::npos;
       cut = input.find('\n', cut + 1)) {
    EXPECT_EQ(out, ReadTurkish(input.substr(0, cut + 1)) + ReadTurkish(input.substr(cut + 1)))
        << "cut after byte " << cut;
  }
  // Valid UTF-8 in, only characters of the code page out.
  std::string cp;
  codepage::DecodeError error;
  if (codepage::Utf8ToCp1254(input, cp, error)) {
    for (std::size_t i = 0; i < out.size();) {
      char32_t ch;
      const std::size_t len = DecodeUtf8(out, i, ch);
      ASSERT_NE(ch, kInvalidUtf8) << "at byte " << i;
      EXPECT_TRUE(InCp1254(ch)) << "U+" << std::hex << static_cast<unsigned>(ch);
      i += len;
    }
  }
}

TEST(ReadingProperties, HostileInputs) {
  for (const std::string& input : HostileInputs()) {
    CheckProperties(input);
    CheckProperties(input + "\n" + input);
    CheckProperties("Saat " + input + "\n7. kat " + input + "'de");
  }
}

TEST(ReadingProperties, RandomPiecesAndBytes) {
  // Pieces every rule looks for, joined at random, and now and then a random byte.
  static const char* const kPieces[] = {
      "1",    "7",    "0",    "12", "300", "2023", ".",  ",",       ":", "/", "-",
      "+",    "%",    "'",    "’",  " ",   "\n",   "\r", "\\",      "{", "}", "kat",
      "Saat", "saat", "TL",   "km", "sa",  "°C",   "m²", "₺",       "€", "$", "Müh.",
      "Gn.",  "BDDK", "XVII", "V",  "I",   "â",    "û",  "î",       "k", "L", "de",
      "nci",  "üncü", "½",    "…",  "—",   "“",    "☺",  "Türkiye", "A", "Ş", "Ğ"};
  std::mt19937 random(20261209);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> chance(0, 19);
  for (int round = 0; round < 3000; ++round) {
    std::string input;
    const int n = length(random);
    for (int k = 0; k < n; ++k) {
      if (chance(random) == 0) {
        input += static_cast<char>(byte(random));
      } else {
        input += kPieces[piece(random)];
      }
    }
    CheckProperties(input);
    if (HasFailure()) return;
  }
}

// Sentences of the corpus with no digit, no capital word of two letters or more, no apostrophe
// no abbreviation of the table and only letters and plain punctuation: the reading stage has
// nothing to do there.
TEST(ReadingProperties, OrdinarySentencesStayAsTheyAre) {
  std::ifstream file(ORVANEL_BENCH_SENTENCES);
  ASSERT_TRUE(file) << ORVANEL_BENCH_SENTENCES;
  std::string line;
  int ordinary = 0;
  while (std::getline(file, line)) {
    const std::u32string text = DecodeAll(line);
    bool plain = true;
    char32_t previous = U' ';
    for (const char32_t cp : text) {
      const bool letter = IsWordLetter(cp) && !IsCircumflexVowel(cp);
      const bool punctuation =
          std::u32string_view(U" .,;!?-\"()").find(cp) != std::u32string_view::npos;
      if (!letter && !punctuation) plain = false;
      if (IsUpperLetter(cp) && IsUpperLetter(previous)) plain = false;
      previous = cp;
    }
    for (const Expansion& abbreviation : Abbreviations()) {
      if (line.find(abbreviation.written) != std::string::npos) plain = false;
    }
    EXPECT_EQ(ReadTurkish(line), detail::ReadEveryLine(line));
    if (!plain) continue;
    ++ordinary;
    EXPECT_EQ(ReadTurkish(line), line);
  }
  EXPECT_GT(ordinary, 500);
}

}  // namespace
}  // namespace orvanel::reading
