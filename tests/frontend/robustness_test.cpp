// Any byte string of any length transcribes: large random and realistic inputs, zero bytes,
// unclosed passages, and agreement with the step-by-step reference transcription.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>

#include "frontend/symbol_names.h"
#include "frontend/text_to_phonetic.h"
#include "tests/frontend/cp1254_text.h"
#include "tests/frontend/reference_transcriber.h"

namespace orvanel::frontend {
namespace {

using testing::Cp;
using testing::Show;

constexpr std::size_t kTenMegabytes = 10u << 20;
// No input byte yields more output than the longest grouped digit (a hundreds group with its
// scale word is at most 40 bytes for 3 digits) or the longest symbol name (19 bytes).
constexpr std::size_t kMaxGrowth = 20;

std::string Transcribe(std::string text) {
  std::string out;
  TextToPhonetic(text, out);
  return out;
}

std::string RandomBytes(std::size_t size, unsigned seed, std::string_view excluded) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(1, 255);
  std::string text;
  text.reserve(size);
  while (text.size() < size) {
    const char ch = static_cast<char>(byte(random));
    if (excluded.find(ch) == std::string_view::npos) text.push_back(ch);
  }
  return text;
}

// Text as typed: Turkish words in both cases, numbers, punctuation, blanks and line breaks.
std::string RealisticText(std::size_t size, unsigned seed) {
  const std::string words[] = {Cp(u8"Türkiye"),
                               Cp(u8"güzel"),
                               Cp(u8"değil"),
                               Cp(u8"öğretmen"),
                               Cp(u8"kitap"),
                               Cp(u8"İSTANBUL"),
                               Cp(u8"ağaç"),
                               Cp(u8"şehir"),
                               Cp(u8"çocuklar"),
                               Cp(u8"ve"),
                               Cp(u8"bir"),
                               Cp(u8"x"),
                               Cp(u8"ğ"),
                               Cp(u8"Ankara'da"),
                               Cp(u8"ılık"),
                               Cp(u8"kâr"),
                               Cp(u8"yüzde"),
                               Cp(u8"Kaide"),
                               Cp(u8"piyano"),
                               Cp(u8"BOTAŞ"),
                               "1996",
                               "2023",
                               "42",
                               "0512",
                               "3,5",
                               "1000000",
                               "12345678901234567890"};
  const std::string separators[] = {" ",    " ",  " ",  ", ", ". ", "! ", "? ", " - ",
                                    "\r\n", " (", ") ", "; ", ": ", "\"", "  "};
  std::mt19937 random(seed);
  std::string text;
  text.reserve(size + 64);
  while (text.size() < size) {
    text += words[random() % std::size(words)];
    text += separators[random() % std::size(separators)];
  }
  text.resize(size);
  return text;
}

TEST(Robustness, TenMegabytesOfRandomBytes) {
  const std::string input = RandomBytes(kTenMegabytes, 1, "");
  std::string text = input;
  std::string out;
  TextToPhonetic(text, out);
  EXPECT_LE(text.size(), input.size()) << "the text never grows";
  EXPECT_FALSE(out.empty());
  EXPECT_LE(out.size(), kMaxGrowth * input.size());
  EXPECT_EQ(out.find('\0'), std::string::npos);
  EXPECT_TRUE(out == testing::ReferenceTextToPhonetic(input)) << "differs from the reference";
}

TEST(Robustness, WithoutBracesNoDigitOrNamedSymbolSurvives) {
  // Without "{" (typed or escaped) every digit is read as a word and every named symbol by its
  // name, so none of them may reach the output.
  const std::string input = RandomBytes(kTenMegabytes, 2, "{\\");
  const std::string out = Transcribe(input);
  ASSERT_FALSE(out.empty());
  const auto bad = std::find_if(out.begin(), out.end(), [](char ch) {
    return (ch >= '0' && ch <= '9') || ch == '{' || ch == '\0' || !SymbolNameOf(ch).empty();
  });
  EXPECT_TRUE(bad == out.end()) << "byte " << int(static_cast<unsigned char>(*bad)) << " at "
                                << (bad - out.begin());
}

TEST(Robustness, TenMegabytesOfRealisticText) {
  const std::string input = RealisticText(kTenMegabytes, 3);
  const std::string out = Transcribe(input);
  ASSERT_GT(out.size(), input.size());
  // Letters, the notation's marks and the punctuation the planner acts on; nothing else.
  std::array<bool, 256> allowed{};
  for (const char ch : Cp(u8"AaEeIıİiOoÖöUuÜüBbCcÇçDdFfGgĞğHhJjKkLlMmNnPpQqRrSsŞşTtVvWwXxYyZz"
                          u8"~`^ \r\n,.!?'â")) {
    allowed[static_cast<unsigned char>(ch)] = true;
  }
  for (std::size_t i = 0; i < out.size(); ++i) {
    ASSERT_TRUE(allowed[static_cast<unsigned char>(out[i])])
        << "byte " << int(static_cast<unsigned char>(out[i])) << " at " << i << ": "
        << Show(out.substr(i < 20 ? 0 : i - 20, 40));
  }
  EXPECT_TRUE(out == testing::ReferenceTextToPhonetic(input)) << "differs from the reference";
}

TEST(Robustness, PathologicalRuns) {
  struct Case {
    std::string text;
    std::size_t min_output;
  };
  const Case cases[] = {
      {std::string(kTenMegabytes, '{'), kTenMegabytes - 1},  // one passage of braces
      {std::string(kTenMegabytes, '\\'), 0},                 // escaped backslashes
      {std::string(kTenMegabytes, '9'), 5 * kTenMegabytes},  // digit by digit
      {std::string(kTenMegabytes, 'a'), kTenMegabytes},      // one long word
      {std::string(kTenMegabytes, '\xF0'), 0},               // soft g only: nothing to say
      {std::string(kTenMegabytes, '^'), kTenMegabytes},      // marks are copied every time
      {std::string(kTenMegabytes, '\r'), kTenMegabytes},     // carriage returns are literal
  };
  for (const auto& c : cases) {
    const std::string out = Transcribe(c.text);
    EXPECT_GE(out.size(), c.min_output) << Show(c.text.substr(0, 1));
    EXPECT_LE(out.size(), kMaxGrowth * c.text.size()) << Show(c.text.substr(0, 1));
  }
}

TEST(Robustness, OutIsAppendedToAndTextIsRewrittenInPlace) {
  std::string text = Cp("\\s\\i");
  std::string out = "X";
  TextToPhonetic(text, out);
  EXPECT_EQ(Show(text), Show(Cp(u8"şı")));
  EXPECT_EQ(Show(out), Show(Cp(u8"XŞı")));
}

TEST(Robustness, RandomShortTextsAgreeWithReference) {
  std::mt19937 random(4);
  const std::string alphabet =
      Cp(u8"aeıioöuüAEIİOÖUÜbcçdgğklmnprsştxyzBDĞKX0123456789 {}\r\n\\-+().,`^|~:;â");
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    const std::size_t length = random() % 24;
    for (std::size_t k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
    ASSERT_EQ(Show(Transcribe(text)), Show(testing::ReferenceTextToPhonetic(text))) << Show(text);
  }
}

}  // namespace
}  // namespace orvanel::frontend
