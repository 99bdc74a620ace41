// Speaking through the engine on the audio device, for orvanel-say without -w.
#pragma once

#include <string>

namespace orvanel::cli {

// Speaks typed Windows-1254 text through the engine and returns the exit status once the
// utterance has ended: 0; 1 with a message on standard error when the engine could not be made or
// no audio device could be opened; 130 after Ctrl-C, which stops the speech within about 100 ms.
struct SpokenVoice {
  unsigned speed = 50;
  unsigned pitch = 50;
  unsigned volume = 100;
  unsigned ratePercent = 100;
  float semitones = 0.f;
  bool prosody = false;
};
int Speak(const std::string& text, const SpokenVoice& voice);

// Typed text that the front end turns back into exactly this PhoneticText: brace passages, with
// backslashes doubled, and every "}" and carriage return outside them (they would end a passage).
std::string AsLiteralText(const std::string& phonetic);

}  // namespace orvanel::cli
