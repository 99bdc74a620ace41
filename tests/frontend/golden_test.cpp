// Golden transcriptions read from frontend_cases.txt: one parameterized test per case.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/number_reading.h"
#include "frontend/symbol_names.h"
#include "frontend/text_scanner.h"
#include "frontend/text_to_phonetic.h"
#include "frontend/word_transcription.h"
#include "tests/frontend/cp1254_text.h"
#include "tests/frontend/reference_transcriber.h"

namespace orvanel::frontend {
namespace {

using testing::Cp;
using testing::Show;

struct GoldenCase {
  std::string name;
  std::string function = "TextToPhonetic";
  std::string input;     // Windows-1254
  std::string expected;  // Windows-1254
  int line = 0;
  std::string error;  // set when the block could not be read
};

// Turns the pictures of the case file into bytes, then the rest from UTF-8 to Windows-1254.
bool DecodeValue(std::string_view text, std::string& out) {
  static const std::pair<std::string_view, char> kPictures[] = {
      {"\xE2\x90\x8D", '\r'}, {"\xE2\x90\x8A", '\n'}, {"\xE2\x90\x89", '\t'},
      {"\xE2\x90\xA0", ' '},  {"\xE2\x90\x80", '\0'},
  };
  constexpr std::string_view kByteOpen = "\xE2\x9F\xA8";   // ⟨
  constexpr std::string_view kByteClose = "\xE2\x9F\xA9";  // ⟩
  std::string plain;                                       // UTF-8 waiting to be converted
  auto flush = [&] {
    const bool ok = testing::TryCp(plain, out);
    plain.clear();
    return ok;
  };
  std::size_t i = 0;
  while (i < text.size()) {
    bool matched = false;
    for (const auto& [picture, byte] : kPictures) {
      if (text.substr(i, picture.size()) == picture) {
        if (!flush()) return false;
        out.push_back(byte);
        i += picture.size();
        matched = true;
        break;
      }
    }
    if (matched) continue;
    if (text.substr(i, kByteOpen.size()) == kByteOpen) {
      const std::size_t hex_start = i + kByteOpen.size();
      if (text.substr(hex_start + 2, kByteClose.size()) != kByteClose) return false;
      const std::string hex(text.substr(hex_start, 2));
      if (!std::isxdigit(static_cast<unsigned char>(hex[0])) ||
          !std::isxdigit(static_cast<unsigned char>(hex[1]))) {
        return false;
      }
      if (!flush()) return false;
      out.push_back(static_cast<char>(std::stoi(hex, nullptr, 16)));
      i = hex_start + 2 + kByteClose.size();
      continue;
    }
    plain.push_back(text[i++]);
  }
  return flush();
}

std::vector<GoldenCase> LoadCases() {
  std::vector<GoldenCase> cases;
  std::ifstream file(ORVANEL_FRONTEND_CASES);
  if (!file) {
    GoldenCase missing;
    missing.name = "case_file_missing";
    missing.error = "cannot open " ORVANEL_FRONTEND_CASES;
    return {missing};
  }
  std::string line;
  int number = 0;
  auto value_of = [](const std::string& l, std::string_view key) -> std::string_view {
    std::string_view rest = std::string_view(l).substr(key.size());
    if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    return rest;
  };
  while (std::getline(file, line)) {
    ++number;
    if (line.rfind("TEST:", 0) == 0) {
      GoldenCase c;
      c.name = std::string(value_of(line, "TEST:"));
      c.line = number;
      cases.push_back(c);
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    if (cases.empty()) continue;
    GoldenCase& c = cases.back();
    auto read = [&](std::string_view key, std::string& into) {
      if (!DecodeValue(value_of(line, key), into)) {
        c.error = "line " + std::to_string(number) + ": cannot read " + std::string(key);
      }
    };
    if (line.rfind("FUNCTION:", 0) == 0) {
      c.function = std::string(value_of(line, "FUNCTION:"));
    } else if (line.rfind("INPUT:", 0) == 0) {
      read("INPUT:", c.input);
    } else if (line.rfind("OUTPUT:", 0) == 0) {
      read("OUTPUT:", c.expected);
    } else {
      c.error = "line " + std::to_string(number) + ": unknown line";
    }
  }
  return cases;
}

// Runs the named step of the front end; false for an unknown name.
bool RunStep(const GoldenCase& c, std::string& result) {
  if (c.function == "TextToPhonetic") {
    std::string text = c.input;
    TextToPhonetic(text, result);
  } else if (c.function == "TranscribeWord") {
    result = TranscribeWord(c.input);
  } else if (c.function == "MarkedWord") {
    result = RewriteLetters(c.input);
    MarkSyllables(result);
  } else if (c.function == "ReadNumber") {
    result = ReadNumber(c.input);
  } else if (c.function == "ReadSymbols") {
    result = ReadSymbols(c.input);
  } else if (c.function == "SpellLetter") {
    result = SpellLetter(c.input);
  } else if (c.function == "ApplyEscapes") {
    result = c.input;
    ApplyEscapes(result);
  } else {
    return false;
  }
  return true;
}

// The same step through the reference transcription, where there is one.
bool RunReference(const GoldenCase& c, std::string& result) {
  if (c.function == "TextToPhonetic") {
    result = testing::ReferenceTextToPhonetic(c.input);
  } else if (c.function == "TranscribeWord") {
    result = testing::ReferenceTranscribeWord(c.input);
  } else if (c.function == "ReadNumber") {
    result = testing::ReferenceReadNumber(c.input);
  } else if (c.function == "ReadSymbols") {
    result = testing::ReferenceReadSymbols(c.input);
  } else {
    return false;
  }
  return true;
}

void PrintTo(const GoldenCase& c, std::ostream* os) {
  *os << "frontend_cases.txt:" << c.line << " " << c.name;
}

class GoldenTranscription : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTranscription, MatchesExpectedOutput) {
  const GoldenCase& c = GetParam();
  ASSERT_TRUE(c.error.empty()) << c.error;
  SCOPED_TRACE("frontend_cases.txt:" + std::to_string(c.line) + " " + c.name);
  std::string result;
  ASSERT_TRUE(RunStep(c, result)) << "unknown FUNCTION " << c.function;
  EXPECT_EQ(Show(result), Show(c.expected)) << c.function << "(" << Show(c.input) << ")";
  std::string reference;
  if (RunReference(c, reference)) {
    EXPECT_EQ(Show(reference), Show(c.expected)) << "reference";
  }
}

std::string CaseName(const ::testing::TestParamInfo<GoldenCase>& info) {
  std::string name = std::to_string(info.index) + "_";
  for (const char ch : info.param.name) {
    name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTranscription, ::testing::ValuesIn(LoadCases()), CaseName);

TEST(GoldenTranscriptionFile, HasEveryKindOfCase) {
  const auto cases = LoadCases();
  ASSERT_GT(cases.size(), 150u);
  for (const char* function : {"TextToPhonetic", "TranscribeWord", "MarkedWord", "ReadNumber",
                               "ReadSymbols", "SpellLetter", "ApplyEscapes"}) {
    int count = 0;
    for (const auto& c : cases) count += c.function == function;
    EXPECT_GT(count, 0) << function;
  }
}

TEST(GoldenTranscriptionFile, PicturesDecodeToBytes) {
  std::string out;
  ASSERT_TRUE(
      DecodeValue("a\xE2\x90\x8D\xE2\x90\x8A\xE2\x90\xA0\xE2\x9F\xA8"
                  "FF\xE2\x9F\xA9\xC4\x9F",
                  out));
  EXPECT_EQ(out, std::string("a\r\n \xFF\xF0"));
  std::string bad;
  EXPECT_FALSE(
      DecodeValue("\xE2\x9F\xA8"
                  "G1\xE2\x9F\xA9",
                  bad));
  EXPECT_FALSE(DecodeValue("\xE2\x82\xAC", bad));  // the euro sign is not among the test letters
}

}  // namespace
}  // namespace orvanel::frontend
