// The shortcut of the reading stage: most lines of ordinary prose have nothing any rule could
// take, and are copied without being cut into tokens.
#pragma once

#include <string_view>

namespace orvanel::reading {

// True when some rule may apply to a line: it has a digit, an apostrophe, a percent or dollar
// sign, a backslash, two capitals in a row, a dot after one letter or after the first word of an
// abbreviation, or a character other than ASCII and the twelve Turkish letters. Other lines come
// out unchanged.
bool MayNeedReading(std::string_view line);

}  // namespace orvanel::reading
