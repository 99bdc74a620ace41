// The planner's output record: one vowel, consonant sound or pause of a stretch.
#pragma once

#include <cstdint>

#include "synth/growable_array.h"

namespace orvanel::synth {

// Held in the low four bits of Segment::kind; FrontSet is a flag on top of Onset and Coda.
enum SegmentKind : std::int32_t {
  Pause = 1,
  Vowel = 2,
  SentenceEnd = 3,
  Onset = 4,
  Coda = 8,
  FrontSet = 16,
};

struct Segment {
  std::int32_t kind = 0;             // SegmentKind; read as kind & 15, flag as kind & 16
  std::int32_t index = 0;            // VowelIndex (vowel) or ConsonantIndex (onset, coda)
  std::int32_t count = 0;            // merged letters (vowel), ms (pause), repetitions (consonant)
  std::uint32_t lengthPercent = 0;   // vowel: resampled to this percentage (stress)
  std::int32_t glideSteps = 0;       // vowel: glide depth in steps of 0.2
  std::int32_t glideShape = 0;       // vowel: 1 early bump, 2 late bump

  friend bool operator==(const Segment&, const Segment&) = default;
};

using SegmentList = GrowableArray<Segment>;

}  // namespace orvanel::synth
