// What the planner makes of a text, for orvanel-say --segments.
#pragma once

#include <string>

#include "library/synthesizer.h"

namespace orvanel::cli {

// The lines of one planned stretch: a heading with its characters in the PhoneticText, one line
// per segment, and with prosody its tune and each vowel's pitch targets.
std::string DescribeStretch(const library::PlannedStretch& stretch);

}  // namespace orvanel::cli
