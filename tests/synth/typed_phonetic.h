// Test helper: the literal transcription of UTF-8 text, as the voice-control tests plan it.
#pragma once

#include <string>

#include "codepage/codepage.h"
#include "frontend/text_to_phonetic.h"

namespace orvanel::synth::testing {

// The PhoneticText of typed UTF-8 text; empty when the text is not UTF-8.
inline std::string Phonetic(const std::string& utf8) {
  std::string text, phonetic;
  codepage::DecodeError error;
  if (!codepage::Utf8ToCp1254(utf8, text, error)) return {};
  frontend::TextToPhonetic(text, phonetic);
  return phonetic;
}

}  // namespace orvanel::synth::testing
