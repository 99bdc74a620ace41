// The signal processing of the voice controls: a vowel overlap-added from its one-cycle response at
// any pulse spacing, and a consonant unit re-timed part by part.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "synth/voice_controls.h"
#include "synth/voice_data.h"

namespace orvanel::synth {

// The glottal period in samples for a pitch in semitones from the literal one (clamped to
// +-kMaxSemitones).
double PeriodFor(float semitones);

// Renders `samples` samples of a vowel by overlap-adding its cycle response at the pulse spacing
// of the contour (semitones at sample t: semitonesAt(t), clamped), as many whole periods as fit
// (one, cut to `samples`, when none does), blending back into the stored period over the end of
// the last period. The glottal closures of the periods go to `closures` when it is given.
// semitonesAt is asked once per period, at the period's glottal closure. At 0 semitones the
// result is the tiled period within 1 LSB.
void OverlapAddVowel(const VowelVoice& voice, const std::int16_t* period, std::uint32_t samples,
                     const std::function<float(std::uint32_t)>& semitonesAt,
                     std::vector<std::int16_t>& out,
                     std::vector<std::uint32_t>* closures = nullptr);

// The shortest a part of a consonant becomes when the unit is shortened (a part that is shorter
// already keeps its length).
struct PartFloors {
  // A noise part keeps this much from its middle, at its level, and 3 ms of each end.
  std::uint32_t noise = kMinNoiseSamples;
  // When not 0: a noise part right after a release burst (the aspiration of p, t and k) keeps
  // this much in all, half from its start (where the place frication follows the burst) and half
  // from its end (into the voicing). When 0 it is shortened like any other noise part.
  std::uint32_t aspiration = 0;
  // Silence parts (closures, and the silence after a coda's release) are scaled by this on top
  // of the time scale; they keep at least 2 ms.
  double silenceScale = 1.0;
};

// Re-times one consonant unit: voiced parts by overlap-adding their own glottal periods at
// `period` samples apart (dropping or repeating whole periods for the time scale), noise and
// silence shortened or lengthened in their middle with a short crossfade, kept parts unchanged.
// `onsetEnd` moves the unit's last pulse so that the interval into the following vowel is one
// `period` too. timeScale 1 and period kBasePeriod give the unit itself. Shortened parts keep at
// least `floors`.
void RetimeConsonant(const std::int16_t* unit, std::uint32_t length, const ConsonantVoice& map,
                     double timeScale, double period, bool onsetEnd, std::vector<std::int16_t>& out,
                     const PartFloors& floors = {});

}  // namespace orvanel::synth
