// The segment planner: PhoneticText to the segments of one stretch, up to and including the next
// sentence end. Pure: it keeps nothing between calls; the caller's position links the stretches.
#pragma once

#include <cstdint>
#include <string_view>

#include "synth/segment.h"

namespace orvanel::synth {

// Empties list and appends the segments of the stretch that starts at position. Returns 0 when
// position is on the end of the text (list left empty), else 1; position then stands just after
// the sentence end that ended the stretch, or on the end of the text. A zero byte ends the text.
// "Bee." -> Onset 0, Vowel 3 (count 2), SentenceEnd 700; position 4.
int PlanStretch(std::string_view text, std::int32_t& position, SegmentList& list);

}  // namespace orvanel::synth
