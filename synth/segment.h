// The planner's output record: one vowel, consonant sound or pause of a stretch.
#pragma once

#include <cstdint>

#include "synth/growable_array.h"

namespace orvanel::synth {

// What a segment is, held in the low four bits of Segment::kind. Only the planner decides it
// (from one PhoneticText character); every other stage reads it with Segment::Kind().
enum class SegmentKind : std::int32_t {
  kNone = 0,  // a character that produced no segment; never stored
  kPause = 1,
  kVowel = 2,
  kSentenceEnd = 3,
  kOnset = 4,
  kCoda = 8,
};
// Added to an onset's or coda's kind when its unit comes from the front-vowel set.
inline constexpr std::int32_t kFrontSetFlag = 16;
inline constexpr std::int32_t kKindMask = 15;

constexpr std::int32_t KindCode(SegmentKind kind) noexcept {
  return static_cast<std::int32_t>(kind);
}

struct Segment {
  std::int32_t kind = 0;            // SegmentKind in the low four bits, plus kFrontSetFlag
  std::int32_t index = 0;           // VowelIndex (vowel) or ConsonantIndex (onset, coda)
  std::int32_t count = 0;           // merged letters (vowel), ms (pause), repetitions (consonant)
  std::uint32_t lengthPercent = 0;  // vowel: resampled to this percentage (stress)
  std::int32_t glideSteps = 0;      // vowel: glide depth in steps of 0.2
  std::int32_t glideShape = 0;      // vowel: 1 early bump, 2 late bump

  SegmentKind Kind() const noexcept { return static_cast<SegmentKind>(kind & kKindMask); }
  bool FrontSet() const noexcept { return (kind & kFrontSetFlag) != 0; }
  // A pause or a sentence end: silence.
  bool IsSilence() const noexcept {
    return Kind() == SegmentKind::kPause || Kind() == SegmentKind::kSentenceEnd;
  }
  friend bool operator==(const Segment&, const Segment&) = default;
};

using SegmentList = GrowableArray<Segment>;

}  // namespace orvanel::synth
