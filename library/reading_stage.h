// The Turkish reading stage as the library applies it to UTF-8 text before the front end.
#pragma once

#include <string>
#include <string_view>

#include "reading/turkish_reading.h"

namespace orvanel::library {

// The text rewritten by the Turkish reading stage; line by line the same as the whole.
std::string ReadForFrontEnd(std::string_view utf8, const reading::ReadingOptions& options = {});

}  // namespace orvanel::library
