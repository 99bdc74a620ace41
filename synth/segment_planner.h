// The segment planner: PhoneticText to the segments of one stretch, up to and including the next
// sentence end. Pure: it keeps nothing between calls; the caller's position links the stretches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/phrase_marks.h"
#include "synth/segment.h"

namespace orvanel::synth {

// Empties list and appends the segments of the stretch that starts at position. Returns 0 when
// position is on the end of the text (list left empty), else 1; position then stands just after
// the sentence end that ended the stretch, or on the end of the text. A zero byte ends the text.
// "Bee." -> Onset 0, Vowel 3 (count 2), SentenceEnd 700; position 4.
int PlanStretch(std::string_view text, std::int32_t& position, SegmentList& list);

struct PlanOptions {
  // Read the phrase marks (frontend/phrase_marks.h) as the pauses they stand for. Off, every
  // segment is exactly the one PlanStretch above plans.
  bool phraseMarks = false;
};

// What the stages after the planner need to know of a segment that its record does not hold.
struct SegmentNote {
  std::int32_t position = -1;     // the character that produced it: its place in the text
  std::int32_t word = -1;         // the segment's word in the stretch (0, 1, ...); -1 for silence
  std::uint16_t stressMarks = 0;  // vowel: stress marks written after it
  bool lateGlide = false;         // vowel: a late-glide mark (the soft g's lengthening)
  frontend::PhraseBreak boundary = frontend::PhraseBreak::kNone;  // silence: what it stands for
};

// A word of the stretch: its letters between two silences.
struct PlannedWord {
  std::size_t first = 0, end = 0;   // its segments [first, end)
  std::string letters;              // the letters as written, in lower case, marks left out
  std::vector<std::size_t> vowels;  // its vowel segments, in order
};

// The planner's notes on one stretch, beside its segment list.
struct StretchNotes {
  std::vector<SegmentNote> segments;  // one per segment of the list
  std::vector<PlannedWord> words;
  char sentenceEnd = 0;  // the character that ended the stretch; 0 at the end of the text
};

// PlanStretch with options, writing its notes (when given) beside the list.
int PlanStretch(std::string_view text, std::int32_t& position, SegmentList& list,
                const PlanOptions& options, StretchNotes* notes);

}  // namespace orvanel::synth
