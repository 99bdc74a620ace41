// The designed transcription stays exact: with the marks off the stressed transcriber gives
// frontend::TextToPhonetic byte for byte, and with them on it only inserts stress marks, on
// the front end's golden inputs and on the 979 sentences.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "frontend/text_scanner.h"
#include "frontend/text_to_phonetic.h"
#include "prosody/prosody.h"
#include "tests/frontend/cp1254_text.h"

namespace orvanel::prosody {
namespace {

using frontend::testing::Show;

// The INPUT values of the front end's golden file, with its pictures for control bytes.
std::vector<std::string> GoldenInputs() {
  std::vector<std::string> inputs;
  std::ifstream file(ORVANEL_FRONTEND_CASES);
  std::string line;
  const std::pair<std::string_view, char> pictures[] = {{"\xE2\x90\x8D", '\r'},
                                                        {"\xE2\x90\x8A", '\n'},
                                                        {"\xE2\x90\x89", '\t'},
                                                        {"\xE2\x90\xA0", ' '},
                                                        {"\xE2\x90\x80", '\0'}};
  while (std::getline(file, line)) {
    if (line.rfind("INPUT:", 0) != 0) continue;
    std::string value = line.size() > 7 ? line.substr(7) : std::string();
    std::string plain, out;
    bool ok = true;
    for (std::size_t i = 0; i < value.size() && ok;) {
      bool matched = false;
      for (const auto& [picture, byte] : pictures) {
        if (value.compare(i, picture.size(), picture) == 0) {
          ok = frontend::testing::TryCp(plain, out);
          plain.clear();
          out.push_back(byte);
          i += picture.size();
          matched = true;
          break;
        }
      }
      if (matched) continue;
      if (value.compare(i, 3, "\xE2\x9F\xA8") == 0 && i + 8 <= value.size()) {
        ok = frontend::testing::TryCp(plain, out);
        plain.clear();
        out.push_back(static_cast<char>(std::stoi(value.substr(i + 3, 2), nullptr, 16)));
        i += 8;
        continue;
      }
      plain.push_back(value[i++]);
    }
    if (ok && frontend::testing::TryCp(plain, out)) inputs.push_back(out);
  }
  return inputs;
}

std::vector<std::string> Sentences() {
  std::vector<std::string> sentences;
  std::ifstream file(ORVANEL_BENCH_DATA_DIR "/turkish-sentences.txt");
  std::string line, cp;
  while (std::getline(file, line)) {
    cp.clear();
    if (frontend::testing::TryCp(line, cp)) sentences.push_back(cp);
  }
  return sentences;
}

std::string Designed(std::string text) {
  std::string out;
  frontend::TextToPhonetic(text, out);
  return out;
}

std::string Transcribed(std::string text, bool marks) {
  frontend::ApplyEscapes(text);
  StressTranscriber t(marks);
  std::string out, run;
  std::size_t position = 0;
  frontend::RunKind kind = frontend::RunKind::kSymbols;
  while (frontend::NextRun(text, position, run, kind))
    t.AppendRun(run, kind, std::string_view(text).substr(position), out);
  return out;
}

// True when `marked` is `designed` with nothing but stress marks inserted.
bool OnlyMarksInserted(const std::string& designed, const std::string& marked) {
  std::size_t j = 0;
  for (char c : marked) {
    if (j < designed.size() && c == designed[j]) {
      ++j;
    } else if (c != '`') {
      return false;
    }
  }
  return j == designed.size();
}

TEST(DesignedOutput, GoldenInputsAndSentencesAreUnchangedWithTheMarksOff) {
  std::vector<std::string> texts = GoldenInputs();
  const std::size_t golden = texts.size();
  for (std::string& s : Sentences()) texts.push_back(s);
  ASSERT_GE(golden, 100u);
  ASSERT_GE(texts.size() - golden,
            975u);  // the lines with characters outside Windows-1254 are left out
  for (const std::string& text : texts) {
    ASSERT_EQ(Transcribed(text, false), Designed(text)) << Show(text);
  }
}

TEST(DesignedOutput, WithTheMarksOnOnlyStressMarksAreAdded) {
  std::vector<std::string> texts = GoldenInputs();
  for (std::string& s : Sentences()) texts.push_back(s);
  std::size_t added = 0;
  for (const std::string& text : texts) {
    const std::string designed = Designed(text);
    std::string copy = text, marked;
    TranscribeForProsody(copy, marked);
    ASSERT_TRUE(OnlyMarksInserted(designed, marked)) << Show(text) << "\n" << Show(marked);
    EXPECT_EQ(Transcribed(text, true), marked);
    added += marked.size() - designed.size();
  }
  EXPECT_GT(added, 5000u) << "nearly every word of the sentences gets a mark";
}

}  // namespace
}  // namespace orvanel::prosody
