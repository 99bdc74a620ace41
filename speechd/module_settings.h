// The server's SET values and how they reach the voice: one pure mapping from the server's
// scales to the library's controls, and the one place where those controls are applied.
#pragma once

#include <string_view>

#include "library/synthesizer.h"
#include "speechd/spoken_names.h"

namespace orvanel::speechd {

// What the server last SET, in its own scales (rate, pitch and volume -100..100).
struct ModuleSettings {
  int rate = 0;
  int pitch = 0;
  int volume = 100;
  PunctuationMode punctuation = PunctuationMode::kSome;
  bool spelling = false;
  bool capitals = false;  // cap_let_recogn: "büyük" before a capital in CHAR and spelling
};

// Takes one key=value line of a SET block. False (and settings unchanged) for keys the module
// ignores (pitch_range, voice, language, synthesis_voice, unknown keys) and unreadable values.
bool ApplySetting(std::string_view key, std::string_view value, ModuleSettings& settings);

// The punctuation level of the Turkish reading for the server's mode: "none" says no prose
// punctuation (it is heard as pauses), "some" and "most" say the signs, "all" every mark.
reading::Punctuation PunctuationLevel(PunctuationMode mode);

// The library's controls for the server's values.
struct VoiceControls {
  double ratePercent = 100;  // 50 (rate -100) .. 100 (rate 0) .. 400 (rate +100)
  double semitones = 0;      // -6 .. +6
  unsigned volumePercent = 100;

  friend bool operator==(const VoiceControls&, const VoiceControls&) = default;
};

// rate: 100 x exp(a r + b r^2), which passes 50 % at -100, 100 % at 0 and 400 % at +100 and
// rises smoothly in between; pitch: 6 semitones per 100; volume: 72 x (v + 100) / 100 %, in
// proportion to v + 100 as the other voices are, so that -100 is silence and -50, 0 and +50
// sound as loud as espeak-ng's module does (36, 72 and 108 %; +100 gives 144 %, where the
// loudest peaks saturate). Values outside -100..100 are clamped.
VoiceControls MapVoiceControls(int rate, int pitch, int volume);

// Writes the controls into the voice that synthesis reads: the rate (rounded, 25..400 %) and the
// pitch shift go to the voice controls, which keep the formants and leave the literal speed and
// pitch (the playback rate) at their defaults; the volume to the volume.
void ApplyVoiceControls(const VoiceControls& controls, library::VoiceSettings& voice);

}  // namespace orvanel::speechd
