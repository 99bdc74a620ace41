// Turns a consonant sound and its role (onset, coda) into the parameter tracks of one unit.
#pragma once

#include "tools/unitgen/sounds.h"
#include "tools/unitgen/synthesis.h"

namespace orvanel::unitgen {

// Consonant then vowel: closure, release, transition to the set's target; the unit ends one
// sample before the start phase of the set's reference vowel, so the vowel period continues
// the pulse train.
UnitPlan PlanOnset(const ConsonantUnit& unit, int samples);

// Vowel then consonant: continues the set's reference vowel from its start phase, moves to the
// consonant and fades to zero.
UnitPlan PlanCoda(const ConsonantUnit& unit, int samples);

// The plan for a consonant unit of any role (units used both ways are made as onsets).
UnitPlan PlanConsonant(const ConsonantUnit& unit, int samples);

}  // namespace orvanel::unitgen
