#include "frontend/text_to_phonetic.h"

#include "frontend/number_reading.h"
#include "frontend/symbol_names.h"
#include "frontend/text_scanner.h"
#include "frontend/word_transcription.h"

namespace orvanel::frontend {

void TextToPhonetic(std::string& text, std::string& out) {
  ApplyEscapes(text);
  std::size_t position = 0;
  std::string run;
  std::string scratch;  // working space of the word transcription, reused for every word
  RunKind kind = RunKind::kSymbols;
  // The conversions follow one another with nothing between them.
  while (NextRun(text, position, run, kind)) {
    switch (kind) {
      case RunKind::kSymbols:
        AppendSymbols(run, out);
        break;
      case RunKind::kWord:
        AppendTranscribedWord(run, scratch, out);
        break;
      case RunKind::kNumber:
        AppendNumber(run, out);
        break;
      case RunKind::kSingleLetter:
        AppendSpelledLetter(run, out);
        break;
      case RunKind::kLiteral:
        out.append(run);
        break;
    }
  }
}

}  // namespace orvanel::frontend
