// reading_report FILE [EXAMPLES]: runs every line of FILE (UTF-8) through the front end with the
// reading stage off and on, counts the lines whose transcription changes, groups them by the
// rules that changed them and prints up to EXAMPLES (10) lines for each rule, written and read.
// It also lists the written words that are gone from the read text, so that a damaged ordinary
// word shows up among the numbers, abbreviations and acronyms that were meant to go.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "frontend/text_to_phonetic.h"
#include "reading/turkish_reading.h"
#include "reading/utf8_text.h"

namespace {

using namespace orvanel;

std::string Transcribe(const std::string& utf8) {
  std::string text;
  codepage::DecodeError error;
  if (!codepage::Utf8ToCp1254(utf8, text, error)) return "<not UTF-8>";
  std::string phonetic;
  frontend::TextToPhonetic(text, phonetic);
  return phonetic;
}

// The words (runs of letters) of a UTF-8 line.
std::vector<std::string> Words(const std::string& utf8) {
  std::vector<std::string> words;
  std::string word;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp;
    const std::size_t len = reading::DecodeUtf8(utf8, i, cp);
    if (reading::IsWordLetter(cp)) {
      word += utf8.substr(i, len);
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
    i += len;
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: reading_report FILE [EXAMPLES]\n");
    return 2;
  }
  const std::size_t examples = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 10;
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);

  int changed = 0;
  int read_differs_but_same_notation = 0;
  std::vector<int> lines_per_rule(reading::kReadingRuleCount, 0);
  std::vector<int> uses_per_rule(reading::kReadingRuleCount, 0);
  std::vector<std::vector<std::pair<std::string, std::string>>> shown(reading::kReadingRuleCount);
  std::map<std::string, int> gone_words;
  for (const std::string& line : lines) {
    reading::ReadingTrace trace;
    const std::string read = reading::ReadTurkish(line, trace);
    if (Transcribe(line) == Transcribe(read)) {
      read_differs_but_same_notation += read != line;
      continue;
    }
    ++changed;
    for (std::size_t k = 0; k < reading::kReadingRuleCount; ++k) {
      if (trace.uses[k] == 0) continue;
      ++lines_per_rule[k];
      uses_per_rule[k] += trace.uses[k];
      if (shown[k].size() < examples) shown[k].emplace_back(line, read);
    }
    const std::vector<std::string> after = Words(read);
    for (const std::string& word : Words(line)) {
      if (std::find(after.begin(), after.end(), word) == after.end()) ++gone_words[word];
    }
  }

  std::printf("lines: %zu\nlines whose transcription changes: %d (%.1f %%)\n", lines.size(),
              changed, lines.empty() ? 0.0 : 100.0 * changed / static_cast<double>(lines.size()));
  std::printf("lines rewritten with the same transcription: %d\n\n",
              read_differs_but_same_notation);
  std::printf("%-16s %8s %8s\n", "rule", "lines", "uses");
  for (std::size_t k = 0; k < reading::kReadingRuleCount; ++k) {
    std::printf("%-16s %8d %8d\n",
                std::string(reading::ReadingRuleName(static_cast<reading::ReadingRule>(k))).c_str(),
                lines_per_rule[k], uses_per_rule[k]);
  }
  for (std::size_t k = 0; k < reading::kReadingRuleCount; ++k) {
    if (shown[k].empty()) continue;
    std::printf(
        "\n== %s\n",
        std::string(reading::ReadingRuleName(static_cast<reading::ReadingRule>(k))).c_str());
    for (const auto& [written, read] : shown[k]) {
      std::printf("  written: %s\n  read:    %s\n", written.c_str(), read.c_str());
    }
  }
  std::printf("\n== written words gone from the read text (word: lines)\n");
  for (const auto& [word, count] : gone_words) std::printf("  %s: %d\n", word.c_str(), count);
  return 0;
}
