// The command line of orvanel-say: what it was asked to do.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reading/turkish_reading.h"

namespace orvanel::cli {

enum class Mode { Speak, Phonetic, Segments, Units, Help, Version };

struct Options {
  Mode mode = Mode::Speak;
  std::optional<std::string> waveFile;  // -w FILE: write instead of speaking; "-" is stdout
  bool raw = false;                     // --raw: headerless PCM
  bool phoneticInput = false;           // --phonetic-input: the text is PhoneticText already
  std::optional<std::string> unit;      // --unit NAME: one unit instead of text
  unsigned speed = 50;                  // 0..99, larger is slower
  unsigned pitch = 50;                  // 1..100
  unsigned volume = 100;                // percent, 0..200
  unsigned ratePercent = 100;           // 25..400, percent of the normal speaking rate
  float semitones = 0.f;                // -6..6, pitch shift that keeps the tempo
  bool literal = false;                 // --literal: no Turkish reading stage
  reading::Punctuation punctuation = reading::Punctuation::kNone;  // --punct=none|some|all
  // Word stress and sentence intonation: on unless --no-prosody or --literal (without --prosody).
  bool prosody = true;
  std::optional<std::string> textFile;  // -f FILE: the text is read from FILE ("-" stdin)
  std::vector<std::string> text;        // joined by single blanks; none: standard input
};

// Parses argv. Returns nothing and sets error (one line) on bad usage.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

std::string UsageText();

}  // namespace orvanel::cli
