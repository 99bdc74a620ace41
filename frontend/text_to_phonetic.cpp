#include "frontend/text_to_phonetic.h"

#include "frontend/number_reading.h"
#include "frontend/symbol_names.h"
#include "frontend/word_transcription.h"

namespace orvanel::frontend {

void AppendRun(const Run& run, std::string& scratch, std::string& out) {
  switch (run.kind) {
    case RunKind::kSymbols:
      AppendSymbols(run.text, out);
      break;
    case RunKind::kWord:
      AppendTranscribedWord(run.text, scratch, out);
      break;
    case RunKind::kNumber:
      AppendNumber(run.text, out);
      break;
    case RunKind::kSingleLetter:
      AppendSpelledLetter(run.text, out);
      break;
    case RunKind::kLiteral:
      out.append(run.text);
      break;
  }
}

void TextToPhonetic(std::string& text, std::string& out) {
  std::string scratch;  // working space of the word transcription, reused for every word
  // The conversions follow one another with nothing between them.
  ForEachRun(text, [&](const Run& run) { AppendRun(run, scratch, out); });
}

}  // namespace orvanel::frontend
