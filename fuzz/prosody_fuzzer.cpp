// Fuzzes the prosody stage with arbitrary bytes: the stressed transcription must be the literal
// one with only stress marks inserted, and every stretch planned from it must be read back by
// the contour (same segments) with every target inside the pitch limits and every vowel length
// within the renderer's range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/text_to_phonetic.h"
#include "prosody/prosody.h"
#include "synth/segment_planner.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string a = input, b = input, literal, marked;
  orvanel::frontend::TextToPhonetic(a, literal);
  orvanel::prosody::TranscribeForProsody(b, marked);
  Check(a == b);
  std::size_t j = 0;
  for (char c : marked) {
    if (j < literal.size() && c == literal[j]) {
      ++j;
    } else {
      Check(c == '`');
    }
  }
  Check(j == literal.size());

  orvanel::synth::SegmentList list;
  std::vector<orvanel::synth::VowelPitch> contour;
  orvanel::synth::StretchNotes notes;
  std::int32_t position = 0;
  while (true) {
    if (orvanel::synth::PlanStretch(marked, position, list, {true}, &notes) != 1) break;
    Check(notes.segments.size() == list.Size());
    Check(orvanel::prosody::ContourForStretch(list, notes, contour));
    Check(contour.size() == list.Size());
    for (const auto& p : contour) {
      Check(std::abs(p.startSemitones) <= orvanel::synth::kMaxSemitones);
      Check(std::abs(p.endSemitones) <= orvanel::synth::kMaxSemitones);
      Check(p.lengthPercent >= 100 && p.lengthPercent <= 300);
    }
    orvanel::prosody::PrepareSegmentsForProsody(list);
  }
  return 0;
}
