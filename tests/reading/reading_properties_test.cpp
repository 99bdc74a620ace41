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
      // Punctuation, joints, lines.
      "(((",
      ")))",
      "\"\"\"",
      "...",
      ". . .",
      ". .",
      "::::",
      ";;;",
      "-----",
      "--",
      "a-",
      "-a",
      "e-",
      "e-e-e",
      "a/",
      "/a",
      std::string(200, '('),
      std::string(200, '-'),
      "\r\n\r\n",
      " \n \n",
      // Screen text, times, ordinals, Roman numerals, abbreviations.
      "www.",
      "www..",
      "a@",
      "@a",
      "a@b.",
      "a@b.com",
      "http://",
      "https://a",
      "rapor.",
      ".pdf",
      "a.pdf.pdf",
      "a_b_c.pdf'",
      "0532-",
      "(0216",
      "(0216)",
      "0532 111 22",
      "1.2.3.",
      "v1.",
      "II'",
      "Mehmet II'",
      "No:",
      "No: ",
      "Prof.Dr.Prof.Dr.",
      "3. A",
      "3.A",
      "19.15'",
      "akşam 19.",
      "07:15:",
      "Ahmet I",
      "(a)Noet I",
      "Bölüm V.",
      // Phrase marks in the input.
      "\x11\x12\x13",
      "{\x11}",
      "\\\x11",
      "\x19\n\x19",
  };
  return kInputs;
}

constexpr Punctuation kLevels[] = {Punctuation::kNone, Punctuation::kSome, Punctuation::kAll};

void CheckProperties(const std::string& input, Punctuation level = Punctuation::kNone) {
  SCOPED_TRACE(input);
  SCOPED_TRACE(static_cast<int>(level));
  const ReadingOptions options{level};
  const std::string out = ReadTurkish(input, options);
  EXPECT_LE(out.size(), kMaxReadingGrowth * input.size());
  // The shortcut for lines no rule applies to changes nothing.
  EXPECT_EQ(out, detail::ReadEveryLine(input, options));
  // Line-local at every line feed.
  for (std::size_t cut = input.find('\n'); cut != std::string::npos;
       cut = input.find('\n', cut + 1)) {
    EXPECT_EQ(out, ReadTurkish(input.substr(0, cut + 1), options) +
                       ReadTurkish(input.substr(cut + 1), options))
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
  for (const Punctuation level : kLevels) {
    for (const std::string& input : HostileInputs()) {
      CheckProperties(input, level);
      CheckProperties(input + "\n" + input, level);
      CheckProperties("Saat " + input + "\n7. kat " + input + "'de", level);
    }
  }
}

TEST(ReadingProperties, RandomPiecesAndBytes) {
  // Pieces every rule looks for, joined at random, and now and then a random byte.
  static const char* const kPieces[] = {
      "1",     "7",        "0",     "12",   "300",  "2023",   ".",  ",",     ":",     "/",
      "-",     "+",        "%",     "'",    "’",    " ",      "\n", "\r",    "\\",    "{",
      "}",     "kat",      "Saat",  "saat", "TL",   "km",     "sa", "°C",    "m²",    "₺",
      "€",     "$",        "Müh.",  "Gn.",  "BDDK", "XVII",   "V",  "I",     "â",     "û",
      "î",     "k",        "L",     "de",   "nci",  "üncü",   "½",  "…",     "—",     "“",
      "☺",     "Türkiye",  "A",     "Ş",    "Ğ",    "(",      ")",  "\"",    ";",     "@",
      "www",   "pdf",      "org",   "com",  "e",    "Mehmet", "II", "Bölüm", "akşam", "No",
      "Murat", "WhatsApp", "rapor", "'te",  "\x11", "\x19",   "•",  "−",     "±",     "*",
      "_",     "#",        "=",     "\n\n"};
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
    CheckProperties(input, kLevels[round % 3]);
    if (HasFailure()) return;
  }
}

// Lines whose only rules are prose punctuation take a shortcut past the line reader: the same
// reading, on text made of nothing else.
TEST(ReadingProperties, ProsePunctuationShortcutReadsAsTheLineReader) {
  static const char* const kPieces[] = {
      "a", "Zeki", "yi",  "İş",    "ı",  "şu", " ", "  ", "\"", "(", ")",  "[", "]", ":", ";",
      ".", "..",   "...", ". . .", "- ", "-",  "{", "}",  "ve", "E", "\n", ",", "?", "\t"};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(1, 12);
  for (int round = 0; round < 20000; ++round) {
    std::string input;
    for (int k = length(random); k > 0; --k) input += kPieces[piece(random)];
    for (const Punctuation level : {Punctuation::kNone, Punctuation::kSome}) {
      ASSERT_EQ(ReadTurkish(input, {level}), detail::ReadEveryLine(input, {level})) << input;
    }
  }
}

// Every phrase mark and name mark in the reading comes from the stage: their bytes in the input
// become blanks, and letters and blanks alone give no mark but at the end of a line (before its
// line feed, with only blanks after it).
TEST(ReadingProperties, PhraseMarksComeOnlyFromTheStage) {
  static const char* const kPieces[] = {"a",    "kitap", " ",  "\x11", "\x13", "\x15", "\x17",
                                        "\x18", "\x19",  "\n", "Ali",  "ve",   "\x1F"};
  std::mt19937 random(42);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  for (int round = 0; round < 2000; ++round) {
    std::string input;
    for (int k = 0; k < 20; ++k) input += kPieces[piece(random)];
    const std::string out = ReadTurkish(input, {kLevels[round % 3]});
    // The name mark comes only before a word joined at an apostrophe, which has none here.
    ASSERT_EQ(out.find('\x1F'), std::string::npos) << input;
    for (std::size_t k = 0; k < out.size(); ++k) {
      if (static_cast<unsigned char>(out[k]) < 0x11 || static_cast<unsigned char>(out[k]) > 0x19)
        continue;
      const std::size_t feed = out.find_first_not_of(" \r", k + 1);
      ASSERT_TRUE(feed != std::string::npos && out[feed] == '\n') << input;
    }
  }
}

// Sentences of the corpus with no digit, no capital word of two letters or more, no apostrophe
// no abbreviation of the table, no word without a vowel, and only letters and the punctuation
// the front end reads as pauses (". , ! ?"): the reading stage has nothing to do there.
TEST(ReadingProperties, OrdinarySentencesStayAsTheyAre) {
  std::ifstream file(ORVANEL_BENCH_SENTENCES);
  ASSERT_TRUE(file) << ORVANEL_BENCH_SENTENCES;
  std::string line;
  int ordinary = 0;
  while (std::getline(file, line)) {
    const std::u32string text = DecodeAll(line);
    bool plain = true;
    std::size_t word_start = 0;
    bool vowel = false;
    for (std::size_t k = 0; k <= text.size(); ++k) {
      const char32_t cp = k < text.size() ? text[k] : U' ';
      const char32_t previous = k > 0 ? text[k - 1] : U' ';
      const bool letter = IsWordLetter(cp) && !IsCircumflexVowel(cp);
      if (letter) {
        if (!IsWordLetter(previous)) word_start = k, vowel = false;
        vowel |= IsTurkishVowel(cp);
        if (IsUpperLetter(cp) && IsUpperLetter(previous)) plain = false;
        continue;
      }
      if (std::u32string_view(U" .,!?").find(cp) == std::u32string_view::npos) plain = false;
      if (IsWordLetter(previous) && k - word_start >= 2 && !vowel) plain = false;  // "pdf"
      // A dot inside a word or before another: a file name or an address, an ellipsis.
      if (cp == '.' && k + 1 < text.size() && (IsWordLetter(text[k + 1]) || text[k + 1] == '.'))
        plain = false;
    }
    for (const Expansion& abbreviation : Abbreviations()) {
      if (line.find(abbreviation.written) != std::string::npos) plain = false;
    }
    for (const Expansion& foreign : ForeignWords()) {
      const std::string word(foreign.written);
      for (std::size_t at = LowerTurkish(line).find(word); at != std::string::npos;
           at = LowerTurkish(line).find(word, at + 1)) {
        plain = false;
      }
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
