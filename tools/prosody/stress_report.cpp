// orvanel-stress-report: runs the stressed transcription over a text file (one sentence a line,
// UTF-8; default the 979 benchmark sentences) and counts the words stressed on a non-final
// syllable, by the rule that put the stress there, with ten examples per rule.
//   orvanel-stress-report [--words] [FILE]
// --words lists every word instead, one a line: the line number, the word with its stressed
// vowel in brackets, and its rule; two such lists diffed show what a change of the rules did.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "codepage/codepage.h"
#include "frontend/letter_tables.h"
#include "frontend/text_scanner.h"
#include "prosody/word_stress.h"

namespace {

using orvanel::prosody::StressRule;

// The word in UTF-8 with its stressed vowel in brackets: "g[e]lmedi".
std::string Shown(const std::string& cp1254, int syllable) {
  std::string marked;
  int k = 0;
  for (char c : cp1254) {
    const bool vowel = orvanel::frontend::VowelLookup(c) >= 0;
    if (vowel && k == syllable) marked += "[";
    marked.push_back(c);
    if (vowel && k++ == syllable) marked += "]";
  }
  return orvanel::codepage::Cp1254ToUtf8(marked);
}

std::string RuleName(int rule) {
  return std::string(orvanel::prosody::StressRuleName(static_cast<StressRule>(rule)));
}

}  // namespace

int main(int argc, char** argv) {
  bool listWords = false;
  std::string path = std::string(ORVANEL_BENCH_DATA_DIR) + "/turkish-sentences.txt";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--words") == 0) {
      listWords = true;
    } else {
      path = argv[i];
    }
  }
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return 1;
  }
  std::map<int, int> nonFinal;
  std::map<int, std::vector<std::string>> examples;
  int words = 0, polysyllabic = 0, unstressed = 0, sentences = 0, lineNumber = 0;
  std::string line;
  while (std::getline(in, line)) {
    ++lineNumber;
    std::string text;
    orvanel::codepage::DecodeError error;
    if (!orvanel::codepage::Utf8ToCp1254(line, text, error)) continue;
    ++sentences;
    // The same decisions the transcriber makes: names by capital inside a sentence or apostrophe.
    orvanel::prosody::StressTranscriber transcriber;
    orvanel::frontend::ForEachRun(text, [&](const orvanel::frontend::Run& r) {
      std::string piece;
      int counts[orvanel::prosody::kStressRuleCount];
      for (int k = 0; k < orvanel::prosody::kStressRuleCount; ++k)
        counts[k] = transcriber.RuleCounts()[k];
      transcriber.AppendRun(r, piece);
      if (r.kind != orvanel::frontend::RunKind::kWord) return;
      int rule = -1;
      for (int k = 0; k < orvanel::prosody::kStressRuleCount; ++k)
        if (transcriber.RuleCounts()[k] != counts[k]) rule = k;
      if (rule < 0) return;  // the suffix of a name after an apostrophe
      ++words;
      const std::string_view run = r.text;
      int vowels = 0;
      for (char c : run) vowels += orvanel::frontend::VowelLookup(c) >= 0;
      if (vowels >= 2) ++polysyllabic;
      // Where the mark went: vowels of the piece before it (a soft-g copy is not a syllable).
      const std::size_t mark = piece.find('`');
      int syllable = -1;
      for (std::size_t i = 0; mark != std::string::npos && i < mark; ++i)
        if (orvanel::frontend::VowelLookup(piece[i]) >= 0 &&
            !(i + 1 < piece.size() && piece[i + 1] == '^'))
          ++syllable;
      if (listWords) {
        std::printf("%d\t%s\t%s\n", lineNumber, Shown(std::string(run), syllable).c_str(),
                    RuleName(rule).c_str());
      }
      if (rule == static_cast<int>(StressRule::kNone)) {
        ++unstressed;
        return;
      }
      if (mark == std::string::npos || syllable >= vowels - 1) return;
      ++nonFinal[rule];
      auto& list = examples[rule];
      const std::string shown = Shown(std::string(run), syllable);
      if (list.size() < 10 && std::find(list.begin(), list.end(), shown) == list.end())
        list.push_back(shown);
    });
  }
  if (listWords) return 0;
  int total = 0;
  for (const auto& [rule, n] : nonFinal) total += n;
  std::printf(
      "%d sentences, %d words (%d of two syllables or more), %d unstressed clitics and "
      "function words\n",
      sentences, words, polysyllabic, unstressed);
  std::printf("non-final stress: %d words (%.1f %% of the polysyllabic ones)\n", total,
              polysyllabic > 0 ? 100.0 * total / polysyllabic : 0.0);
  for (const auto& [rule, n] : nonFinal) {
    std::printf("\n%-28s %5d\n ", RuleName(rule).c_str(), n);
    for (const std::string& e : examples[rule]) std::printf(" %s", e.c_str());
    std::printf("\n");
  }
  return 0;
}
