// What the planner makes of PhoneticText, for orvanel-say --segments.
#pragma once

#include <string>

namespace orvanel::cli {

// One line per segment of every stretch, for --segments.
std::string DescribeStretches(const std::string& phonetic);

}  // namespace orvanel::cli
