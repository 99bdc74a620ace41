// Golden readings from reading_cases.txt: one parameterized test per case, checking the
// reading stage's UTF-8 and, where a case gives it, the front end's transcription of it.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "frontend/text_to_phonetic.h"
#include "reading/turkish_reading.h"

namespace orvanel::reading {
namespace {

struct ReadingCase {
  std::string name;
  std::string input;
  std::string expected;
  std::string phonetic;  // empty when the case gives none
  bool has_phonetic = false;
  ReadingOptions options;  // PUNCT: none, some or all
  int line = 0;
  std::string error;
};

// Turns the pictures of the case file into the bytes they stand for.
bool DecodeValue(std::string_view text, std::string& out) {
  static const std::pair<std::string_view, char> kPictures[] = {{"\xE2\x90\x8D", '\r'},
                                                                {"\xE2\x90\x8A", '\n'},
                                                                {"\xE2\x90\x89", '\t'},
                                                                {"\xE2\x90\xA0", ' '}};
  constexpr std::string_view kByteOpen = "\xE2\x9F\xA8";   // ⟨
  constexpr std::string_view kByteClose = "\xE2\x9F\xA9";  // ⟩
  std::size_t i = 0;
  while (i < text.size()) {
    bool matched = false;
    for (const auto& [picture, byte] : kPictures) {
      if (text.substr(i, picture.size()) == picture) {
        out.push_back(byte);
        i += picture.size();
        matched = true;
        break;
      }
    }
    if (matched) continue;
    if (text.substr(i, kByteOpen.size()) == kByteOpen) {
      const std::size_t hex = i + kByteOpen.size();
      if (text.substr(hex + 2, kByteClose.size()) != kByteClose ||
          !std::isxdigit(static_cast<unsigned char>(text[hex])) ||
          !std::isxdigit(static_cast<unsigned char>(text[hex + 1]))) {
        return false;
      }
      out.push_back(static_cast<char>(std::stoi(std::string(text.substr(hex, 2)), nullptr, 16)));
      i = hex + 2 + kByteClose.size();
      continue;
    }
    out.push_back(text[i++]);
  }
  return true;
}

std::vector<ReadingCase> LoadCases() {
  std::vector<ReadingCase> cases;
  std::ifstream file(ORVANEL_READING_CASES);
  if (!file) {
    ReadingCase missing;
    missing.name = "case_file_missing";
    missing.error = "cannot open " ORVANEL_READING_CASES;
    return {missing};
  }
  std::string line;
  int number = 0;
  auto value_of = [](const std::string& l, std::string_view key) {
    std::string_view rest = std::string_view(l).substr(key.size());
    if (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    return rest;
  };
  while (std::getline(file, line)) {
    ++number;
    if (line.rfind("TEST:", 0) == 0) {
      ReadingCase c;
      c.name = std::string(value_of(line, "TEST:"));
      c.line = number;
      cases.push_back(c);
      continue;
    }
    if (line.empty() || line[0] == '#' || cases.empty()) continue;
    ReadingCase& c = cases.back();
    auto read = [&](std::string_view key, std::string& into) {
      if (!DecodeValue(value_of(line, key), into)) {
        c.error = "line " + std::to_string(number) + ": cannot read " + std::string(key);
      }
    };
    if (line.rfind("INPUT:", 0) == 0) {
      read("INPUT:", c.input);
    } else if (line.rfind("OUTPUT:", 0) == 0) {
      read("OUTPUT:", c.expected);
    } else if (line.rfind("PUNCT:", 0) == 0) {
      const std::string_view level = value_of(line, "PUNCT:");
      if (level == "some") {
        c.options.punctuation = Punctuation::kSome;
      } else if (level == "all") {
        c.options.punctuation = Punctuation::kAll;
      } else if (level != "none") {
        c.error = "line " + std::to_string(number) + ": unknown punctuation level";
      }
    } else if (line.rfind("PHONETIC:", 0) == 0) {
      read("PHONETIC:", c.phonetic);
      c.has_phonetic = true;
    } else {
      c.error = "line " + std::to_string(number) + ": unknown line";
    }
  }
  return cases;
}

// The whole chain of the window and the command line: reading, code page, front end.
std::string PhoneticOf(const std::string& utf8) {
  std::string text;
  codepage::DecodeError error;
  if (!codepage::Utf8ToCp1254(utf8, text, error)) return "<not UTF-8>";
  std::string phonetic;
  frontend::TextToPhonetic(text, phonetic);
  return codepage::Cp1254ToUtf8(phonetic);
}

void PrintTo(const ReadingCase& c, std::ostream* os) {
  *os << "reading_cases.txt:" << c.line << " " << c.name;
}

class GoldenReading : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(GoldenReading, MatchesExpectedOutput) {
  const ReadingCase& c = GetParam();
  ASSERT_TRUE(c.error.empty()) << c.error;
  SCOPED_TRACE("reading_cases.txt:" + std::to_string(c.line) + " " + c.name);
  const std::string read = ReadTurkish(c.input, c.options);
  EXPECT_EQ(read, c.expected) << "ReadTurkish(" << c.input << ")";
  // The shortcut past lines no rule applies to changes nothing.
  EXPECT_EQ(read, detail::ReadEveryLine(c.input, c.options));
  if (c.has_phonetic) {
    EXPECT_EQ(PhoneticOf(read), c.phonetic);
  }
}

std::string CaseName(const ::testing::TestParamInfo<ReadingCase>& info) {
  std::string name = std::to_string(info.index) + "_";
  for (const char ch : info.param.name) {
    name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenReading, ::testing::ValuesIn(LoadCases()), CaseName);

TEST(GoldenReadingFile, CoversEveryRule) {
  const auto cases = LoadCases();
  ASSERT_GT(cases.size(), 100u);
  ReadingTrace trace;
  int with_phonetic = 0;
  for (const auto& c : cases) {
    ReadTurkish(c.input, trace, c.options);
    with_phonetic += c.has_phonetic;
  }
  for (std::size_t k = 0; k < kReadingRuleCount; ++k) {
    EXPECT_GT(trace.uses[k], 0) << ReadingRuleName(static_cast<ReadingRule>(k));
  }
  EXPECT_GE(with_phonetic, 20);
}

// Where the reading stage leaves a text alone, the whole chain is the designed transcription.
TEST(GoldenReadingFile, UnchangedTextKeepsTheDesignedTranscription) {
  for (const auto& c : LoadCases()) {
    if (c.input != c.expected || c.options.punctuation != Punctuation::kNone) continue;
    std::string text;
    codepage::DecodeError error;
    if (!codepage::Utf8ToCp1254(c.input, text, error)) continue;
    std::string designed;
    frontend::TextToPhonetic(text, designed);
    EXPECT_EQ(PhoneticOf(ReadTurkish(c.input)), codepage::Cp1254ToUtf8(designed)) << c.name;
  }
}

}  // namespace
}  // namespace orvanel::reading
