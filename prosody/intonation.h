// Sentence intonation for the prosody mode: a pitch contour for one planned stretch, from its
// segments and its PhoneticText (sentence end, commas, words and their stress marks).
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "synth/segment.h"
#include "synth/segment_planner.h"
#include "synth/voice_controls.h"

namespace orvanel::prosody {

// The shape of a stretch's tune, from its sentence-end character and its words.
enum class SentenceType : int {
  kStatement = 0,  // ".", ":", ";" or no sentence end
  kYesNoQuestion,  // "?" with the question particle mI
  kWhQuestion,     // "?" with a question word (kim, ne, nerede, nasıl, hangi, kaç, ...)
  kOtherQuestion,  // "?" with neither: the end rises
  kExclamation,    // "!"
};

// Semitone targets (relative to the units' own 113.66 Hz). Each vowel moves from where the vowel
// before it ended to its target; the targets below are where vowels end.
struct IntonationTargets {
  float declination = 1.5f;       // fall of the baseline over a phrase
  float phraseDownstep = 0.5f;    // each phrase starts this much under the one before
  float wordStartDip = 0.5f;      // an accented word starts this much under the baseline
  float prenuclearAccent = 1.5f;  // H* of an accented word before the nucleus, over the baseline
  float nuclearAccent = 3.0f;     // H* of the nucleus of a statement, over the baseline
  float exclamationScale = 1.3f;  // accents of "!" are this much larger
  float asideLowering = 1.5f;     // a phrase in parentheses lies this much lower ...
  float asideScale = 0.6f;        // ... with its accents this much smaller
  float afterNucleus = -1.0f;     // deaccented words after the nucleus, under the baseline
  float statementEnd = -4.0f;     // the last syllable of a statement falls to this
  float exclamationEnd = -5.0f;
  float clauseFall = -2.5f;              // the last syllable before a colon or a semicolon
  float yesNoPeak = 6.0f;                // the word before mI
  float particle = 1.0f;                 // mI itself
  float yesNoEnd = -2.0f;                // the syllables after mI fall to this
  float whPeak = 5.0f;                   // the question word
  float questionRise = 5.0f;             // "?" without mI or question word: the end rises to this
  float continuationRise = 2.0f;         // the last syllable before a comma rises by this much ...
  float continuationFloor = 3.0f;        // ... and to at least this
  float softGRise = 1.0f;                // a vowel lengthened by the soft g rises at its end
  unsigned boundaryLengthPercent = 125;  // the last vowel before a boundary inside the stretch
  unsigned finalLengthPercent = 140;     // the last vowel of the stretch
};

// What the contour was built from, for tests and the --segments display.
struct StretchIntonation {
  SentenceType type = SentenceType::kStatement;
  std::vector<int> nucleusVowels;  // segment index of each clause's nuclear stressed vowel
  std::vector<bool> stressed;      // per segment: a vowel carrying a stress mark
};

// The prosody path's segment adjustment: every vowel of the stretch plays at its full length
// (the stress mark no longer resamples it) and without the default early glide; the accent
// comes from the contour instead.
void PrepareSegmentsForProsody(synth::SegmentList& list);

// One VowelPitch per segment of the planned stretch (zero for non-vowels), every value within
// +-synth::kMaxSemitones, from the planner's notes on the stretch (words, stress marks, phrase
// boundaries, sentence end). Within a phrase the pitch is continuous: a vowel starts where the one
// before it ended. The last vowel of each phrase is lengthened. Returns false, with a flat contour,
// when the notes are not the list's.
bool ContourForStretch(const synth::SegmentList& list, const synth::StretchNotes& notes,
                       std::vector<synth::VowelPitch>& contour,
                       const IntonationTargets& targets = {}, StretchIntonation* info = nullptr);

}  // namespace orvanel::prosody
