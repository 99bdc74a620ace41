// Speaking through the engine on the audio device, for orvanel-say without -w.
#pragma once

#include <string>

#include "cli/text_input.h"
#include "engine/speech_engine.h"

namespace orvanel::cli {

// The settings of the spoken voice, as the command line gave them.
struct SpokenVoice {
  unsigned speed = 50;
  unsigned pitch = 50;
  unsigned volume = 100;
  unsigned ratePercent = 100;
  float semitones = 0.f;
  bool reading = true;
  reading::Punctuation punctuation = reading::Punctuation::kNone;
  bool prosody = false;
};

// Speaks the request through the engine and returns the exit status once the utterance has
// ended: 0; 1 with a message on standard error when the engine could not be made, no audio
// device could be opened, the device failed or the text could not be read; 128 + the signal's
// number after Ctrl-C or SIGTERM, which stop the speech within about 100 ms. Speech that the
// literal reading could not hold is named on standard error by line and column.
// input, when the request reads from it, names a read error better than the engine can.
int Speak(engine::SpeechRequest request, const SpokenVoice& voice,
          const TextInput* input = nullptr);

// Typed text that the front end turns back into exactly this PhoneticText: brace passages, with
// backslashes doubled, and every "}" and carriage return outside them (they would end a passage).
std::string AsLiteralText(const std::string& phonetic);

// The warning for speech that did not fit into its stretch.
std::string DroppedWarning(const library::DroppedSpeech& dropped);

// The signal that interrupted the program (SIGINT or SIGTERM), or 0. Installed by
// CatchInterrupts, which lets the program end its work in an orderly way instead of dying.
int Interrupted();
void CatchInterrupts();

}  // namespace orvanel::cli
