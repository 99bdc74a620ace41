// The prosody mode's entry points for the library and the programs: stressed transcription of a
// piece of text, and per stretch the segment adjustment and the pitch contour that drives
// synth::ControlledRenderer. Off by default; without it nothing of this runs.
//
//   std::string phonetic;
//   prosody::TranscribeForProsody(cp1254, phonetic);          // or a StressTranscriber per run
//   while (synth::PlanStretch(phonetic, position, list) == 1) {
//     std::vector<bool> stressed;
//     std::vector<synth::VowelPitch> contour;
//     prosody::ContourForStretch(list, std::string_view(phonetic).substr(start), contour);
//     prosody::PrepareSegmentsForProsody(list, stressed);
//     renderer.BeginStretch(list, controls, contour);
//     ...
//   }
#pragma once

#include <string>

#include "prosody/intonation.h"
#include "prosody/word_stress.h"

namespace orvanel::prosody {

// The literal transcription of one Windows-1254 piece plus the stress marks (escapes rewritten
// in place, out appended to). Each piece starts a sentence; for pieces of one running text use a
// StressTranscriber and feed it every run.
inline void TranscribeForProsody(std::string& cp1254Piece, std::string& out) {
  TextToPhoneticWithStress(cp1254Piece, out);
}

}  // namespace orvanel::prosody
