// The golden stress table: every line of stress_cases.txt through the stressed transcription,
// word by word, against the bracketed syllable. One parameterized test per line.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "frontend/letter_tables.h"
#include "frontend/text_scanner.h"
#include "frontend/word_transcription.h"
#include "prosody/word_stress.h"
#include "tests/frontend/cp1254_text.h"

namespace orvanel::prosody {
namespace {

struct StressCase {
  std::string line;           // as written, UTF-8
  std::string input;          // Windows-1254, brackets removed
  std::vector<int> expected;  // per word run: the bracketed vowel's syllable, or -1
  int number = 0;
};

std::vector<StressCase> LoadCases() {
  std::vector<StressCase> cases;
  std::ifstream file(ORVANEL_STRESS_CASES);
  std::string line;
  int number = 0;
  while (std::getline(file, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    StressCase c;
    c.line = line;
    c.number = number;
    std::string plain;
    for (char ch : line)
      if (ch != '[' && ch != ']') plain.push_back(ch);
    if (!frontend::testing::TryCp(plain, c.input)) continue;
    // The expected syllable of each word: vowels before "[" within the word.
    std::string marked;
    frontend::testing::TryCp(line, marked);
    int vowels = 0;
    int letters = 0;
    int stressed = -1;
    bool inWord = false;
    for (char ch : marked) {
      const bool letter =
          ch == '[' || ch == ']' || frontend::ClassifyChar(ch) == frontend::CharClass::kLetter;
      if (!letter) {
        // A one-letter run is spelled, not transcribed as a word.
        if (inWord && letters >= 2) c.expected.push_back(stressed);
        inWord = false;
        continue;
      }
      if (!inWord) {
        letters = 0;
        vowels = 0;
        stressed = -1;
        inWord = true;
      }
      if (ch == '[') stressed = vowels;
      if (ch != '[' && ch != ']') ++letters;
      if (frontend::VowelLookup(ch) >= 0) ++vowels;
    }
    if (inWord && letters >= 2) c.expected.push_back(stressed);
    cases.push_back(c);
  }
  return cases;
}

// Per word run of the text: the syllable the stressed transcription marked, or -1.
std::vector<int> MarkedSyllables(std::string text) {
  frontend::ApplyEscapes(text);
  StressTranscriber transcriber;
  std::vector<int> result;
  std::size_t position = 0;
  std::string run;
  frontend::RunKind kind = frontend::RunKind::kSymbols;
  while (frontend::NextRun(text, position, run, kind)) {
    std::string out;
    transcriber.AppendRun(run, kind, std::string_view(text).substr(position), out);
    if (kind != frontend::RunKind::kWord) continue;
    const std::size_t mark = out.find('`');
    // The mark follows the last letter of its syllable: count the vowels before it (the vowel
    // written again for a soft g, before "^", is not a syllable of its own).
    int syllable = -1;
    if (mark != std::string::npos) {
      for (std::size_t i = 0; i < mark; ++i) {
        const bool copy = i + 1 < out.size() && out[i + 1] == '^';
        if (frontend::VowelLookup(out[i]) >= 0 && !copy) ++syllable;
      }
    }
    result.push_back(syllable);
  }
  return result;
}

class StressGolden : public ::testing::TestWithParam<StressCase> {};

TEST_P(StressGolden, MarksTheExpectedSyllable) {
  const StressCase& c = GetParam();
  EXPECT_EQ(MarkedSyllables(c.input), c.expected) << "line " << c.number << ": " << c.line;
}

INSTANTIATE_TEST_SUITE_P(StressCases, StressGolden, ::testing::ValuesIn(LoadCases()),
                         [](const ::testing::TestParamInfo<StressCase>& info) {
                           return "line" + std::to_string(info.param.number);
                         });

TEST(StressGoldenFile, HasACaseForEveryRule) {
  const std::vector<StressCase> cases = LoadCases();
  EXPECT_GE(cases.size(), 120u);
  int rules[kStressRuleCount] = {};
  for (const StressCase& c : cases) {
    std::string text = c.input;
    frontend::ApplyEscapes(text);
    StressTranscriber t;
    std::size_t position = 0;
    std::string run, out;
    frontend::RunKind kind = frontend::RunKind::kSymbols;
    while (frontend::NextRun(text, position, run, kind))
      t.AppendRun(run, kind, std::string_view(text).substr(position), out);
    for (int r = 0; r < kStressRuleCount; ++r) rules[r] += t.RuleCounts()[r];
  }
  for (int r = 0; r < kStressRuleCount; ++r)
    EXPECT_GE(rules[r], 2) << StressRuleName(static_cast<StressRule>(r));
}

}  // namespace
}  // namespace orvanel::prosody
