// Test helper: the transcription put together step by step from the front end's public pieces,
// the way its rules read (syllable strings, group strings put in front of each other). The
// production driver appends straight into its output instead; the two must always agree.
#pragma once

#include <string>
#include <string_view>

namespace orvanel::frontend::testing {

std::string ReferenceTranscribeWord(std::string_view word);
std::string ReferenceReadNumber(std::string_view digits);
std::string ReferenceReadSymbols(std::string_view run);
// Works on its own copy of text.
std::string ReferenceTextToPhonetic(std::string text);

}  // namespace orvanel::frontend::testing
