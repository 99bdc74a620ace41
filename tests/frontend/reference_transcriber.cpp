#include "tests/frontend/reference_transcriber.h"

#include "frontend/letter_tables.h"
#include "frontend/number_reading.h"
#include "frontend/symbol_names.h"
#include "frontend/text_scanner.h"
#include "frontend/word_transcription.h"

namespace orvanel::frontend::testing {

std::string ReferenceTranscribeWord(std::string_view word) {
  std::string marked = RewriteLetters(word);
  MarkSyllables(marked);
  std::string result;
  std::size_t position = 0;
  std::string syllable;
  char deciding_vowel = 0;
  while (NextSyllable(marked, position, syllable, deciding_vowel)) {
    if (deciding_vowel != 0 && IsFrontVowel(deciding_vowel)) {
      for (const char ch : syllable) {
        const int c = ConsonantLookup(ch);
        result += c >= 0 ? FrontMarkConsonant(c, ch) : std::string(1, ch);
      }
    } else {
      result += syllable;
    }
  }
  return result;
}

std::string ReferenceReadNumber(std::string_view digits) {
  if (digits.empty()) return {};
  if (digits.front() == '0' || digits.size() >= 67) return ReadDigitByDigit(digits);
  std::string result;
  std::ptrdiff_t position = static_cast<std::ptrdiff_t>(digits.size()) - 1;
  DigitGroup group;
  int value = 0;
  for (int k = 0; NextDigitGroup(digits, position, group, value); ++k) {
    std::string words = ReadGroup(group);
    const std::string scale = value > 0 ? ScaleWord(k) : std::string();
    if (k == 1 && value == 1) words.clear();
    result = words + scale + result;
  }
  return result;
}

std::string ReferenceReadSymbols(std::string_view run) {
  std::string result;
  int previous = -1;
  for (const char ch : run) {
    const int current = static_cast<unsigned char>(ch);
    if (current == previous) {
      if (ch == '`' || ch == '|' || ch == '^') result += ch;
      continue;
    }
    bool named = false;
    for (const auto& entry : SymbolNameTable) {
      if (entry.symbol == ch) {
        result += entry.name;
        named = true;
        break;
      }
    }
    if (!named) result += ch;
    previous = current;
  }
  return result;
}

std::string ReferenceTextToPhonetic(std::string text) {
  ApplyEscapes(text);
  std::string out;
  std::size_t position = 0;
  std::string run;
  RunKind kind = RunKind::kSymbols;
  while (NextRun(text, position, run, kind)) {
    switch (kind) {
      case RunKind::kSymbols:
        out += ReferenceReadSymbols(run);
        break;
      case RunKind::kWord:
        out += ReferenceTranscribeWord(run);
        break;
      case RunKind::kNumber:
        out += ReferenceReadNumber(run);
        break;
      case RunKind::kSingleLetter:
        out += SpellLetter(run);
        break;
      case RunKind::kLiteral:
        out += run;
        break;
    }
  }
  return out;
}

}  // namespace orvanel::frontend::testing
