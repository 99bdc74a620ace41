// reading_report FILE [EXAMPLES] [--before READ] [--write READ] [--punct LEVEL]: runs every line
// of FILE (UTF-8) through the front end with the reading stage off and on, counts the lines whose
// transcription changes, groups them by the rules that changed them and prints up to EXAMPLES
// (10) lines for each rule, written and read. It also lists the written words that are gone from
// the read text, so that a damaged ordinary word shows up among the numbers, abbreviations and
// acronyms that were meant to go.
// --write READ writes the reading of every line to READ, one a line (phrase marks as ⟨HH⟩);
// --before READ compares with such a file, an earlier reading of the same lines, instead of the
// text as written: what a change of the stage changed. --punct reads at none, some or all.
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

// Phrase marks and other control bytes as ⟨HH⟩, so that a reading is one printable line.
std::string Visible(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 && c != '\t') {
      char pictured[16];
      std::snprintf(pictured, sizeof pictured, "\xE2\x9F\xA8%02X\xE2\x9F\xA9", b);
      out += pictured;
    } else {
      out += c;
    }
  }
  return out;
}

std::string Hidden(const std::string& line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line.compare(i, 3, "\xE2\x9F\xA8") == 0 && i + 8 <= line.size() &&
        line.compare(i + 5, 3, "\xE2\x9F\xA9") == 0) {
      out += static_cast<char>(std::strtol(line.substr(i + 3, 2).c_str(), nullptr, 16));
      i += 7;
    } else {
      out += line[i];
    }
  }
  return out;
}

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

std::vector<std::string> ReadLines(const char* path, bool& ok) {
  std::vector<std::string> lines;
  std::ifstream file(path, std::ios::binary);
  ok = static_cast<bool>(file);
  if (!ok) std::fprintf(stderr, "cannot read %s\n", path);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<const char*> positional;
  const char* before_path = nullptr;
  const char* write_path = nullptr;
  reading::ReadingOptions options;
  for (int k = 1; k < argc; ++k) {
    const std::string arg = argv[k];
    if ((arg == "--before" || arg == "--write" || arg == "--punct") && k + 1 < argc) {
      const std::string value = argv[++k];
      if (arg == "--before") before_path = argv[k];
      if (arg == "--write") write_path = argv[k];
      if (arg == "--punct") {
        options.punctuation = value == "all"    ? reading::Punctuation::kAll
                              : value == "some" ? reading::Punctuation::kSome
                                                : reading::Punctuation::kNone;
      }
    } else {
      positional.push_back(argv[k]);
    }
  }
  if (positional.empty()) {
    std::fprintf(stderr,
                 "usage: reading_report FILE [EXAMPLES] [--before READ] [--write READ] "
                 "[--punct none|some|all]\n");
    return 2;
  }
  const std::size_t examples =
      positional.size() > 1 ? std::strtoul(positional[1], nullptr, 10) : 10;
  bool ok = true;
  const std::vector<std::string> lines = ReadLines(positional[0], ok);
  if (!ok) return 1;
  std::vector<std::string> earlier;
  if (before_path != nullptr) {
    earlier = ReadLines(before_path, ok);
    if (!ok) return 1;
    if (earlier.size() != lines.size()) {
      std::fprintf(stderr, "%s has %zu lines, %s %zu\n", before_path, earlier.size(), positional[0],
                   lines.size());
      return 1;
    }
    for (std::string& line : earlier) line = Hidden(line);
  }
  std::ofstream written;
  if (write_path != nullptr) written.open(write_path, std::ios::binary);

  int changed = 0;
  int read_differs_but_same_notation = 0;
  std::vector<int> lines_per_rule(reading::kReadingRuleCount, 0);
  std::vector<int> uses_per_rule(reading::kReadingRuleCount, 0);
  std::vector<std::vector<std::pair<std::string, std::string>>> shown(reading::kReadingRuleCount);
  std::map<std::string, int> gone_words;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    const std::string& base = before_path != nullptr ? earlier[n] : line;
    reading::ReadingTrace trace;
    const std::string read = reading::ReadTurkish(line, trace, options);
    if (written.is_open()) written << Visible(read) << '\n';
    if (Transcribe(base) == Transcribe(read)) {
      read_differs_but_same_notation += read != base;
      continue;
    }
    ++changed;
    for (std::size_t k = 0; k < reading::kReadingRuleCount; ++k) {
      if (trace.uses[k] == 0) continue;
      ++lines_per_rule[k];
      uses_per_rule[k] += trace.uses[k];
      if (shown[k].size() < examples) shown[k].emplace_back(line, Visible(read));
    }
    const std::vector<std::string> after = Words(read);
    for (const std::string& word : Words(base)) {
      if (std::find(after.begin(), after.end(), word) == after.end()) ++gone_words[word];
    }
  }

  if (before_path != nullptr) std::printf("compared with the reading in %s\n", before_path);
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
  std::printf(before_path != nullptr
                  ? "\n== words of the earlier reading gone (word: lines)\n"
                  : "\n== written words gone from the read text (word: lines)\n");
  for (const auto& [word, count] : gone_words) std::printf("  %s: %d\n", word.c_str(), count);
  return 0;
}
