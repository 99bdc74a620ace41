// Single characters that no other rule takes: typographic signs and characters outside the
// code page.
#pragma once

#include <string>

#include "reading/turkish_reading.h"

namespace orvanel::reading {

// Appends a character that no rule took: typographic signs are normalised, characters the code
// page cannot hold become a blank, the rest stays.
void AppendCharacter(char32_t cp, std::string& out, ReadingTrace& trace);

}  // namespace orvanel::reading
