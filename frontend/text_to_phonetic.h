// The front end's entry: typed Windows-1254 text to PhoneticText. Pure and stateless, so the
// worker (Speak) and the window (Preprocess) may call it at the same time.
//
// One driver serves every transcription: ForEachRun rewrites the escapes and hands each run of
// the text to a conversion. TextToPhonetic is the driver with AppendRun, the literal conversion;
// the prosody stage and the library hand it conversions of their own (stress marks, the input
// offsets of each run).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/text_scanner.h"

namespace orvanel::frontend {

// One run of the text as the driver hands it to a conversion.
struct Run {
  std::string_view text;  // the run's characters (a brace passage without its braces)
  RunKind kind = RunKind::kSymbols;
  std::size_t begin = 0;  // its place in the rewritten text: [begin, end), braces included
  std::size_t end = 0;
  std::string_view rest;  // the rewritten text after the run
};

// The literal conversion of one run, appended to out: symbols by their names, words
// syllabified, numbers read, single letters spelled, brace passages copied. scratch is working
// space that the caller may keep between runs.
void AppendRun(const Run& run, std::string& scratch, std::string& out);

// Rewrites the escapes of text in place (source as ApplyEscapes fills it), then calls
// convert(const Run&) for every run in order. A zero byte ends the text.
template <typename Convert>
void ForEachRun(std::string& text, Convert&& convert,
                std::vector<std::uint32_t>* source = nullptr) {
  ApplyEscapes(text, source);
  const std::string_view all(text);
  std::string characters;
  Run run;
  std::size_t position = 0;
  for (;;) {
    run.begin = position;
    if (!NextRun(all, position, characters, run.kind)) break;
    run.text = characters;
    run.end = position;
    run.rest = all.substr(position);
    convert(static_cast<const Run&>(run));
  }
}

// Rewrites the backslash escapes of text in place (text never grows), then appends the
// PhoneticText of every run to out. out is never cleared. A zero byte ends the text.
// "Türk 12." -> "Tür~k Onİ~ki." (in Windows-1254 bytes)
void TextToPhonetic(std::string& text, std::string& out);

}  // namespace orvanel::frontend
