// What the planner makes of PhoneticText, for orvanel-say --segments.
#pragma once

#include <string>

namespace orvanel::cli {

// One line per segment of every stretch, for --segments. With prosody, the vowels as the prosody
// path plays them (full length, no glide) with their pitch targets, and each stretch's tune.
std::string DescribeStretches(const std::string& phonetic, bool prosody = false);

}  // namespace orvanel::cli
