// The Turkish reading stage as the library applies it to UTF-8 text before the front end.
#pragma once

#include <string>
#include <string_view>

namespace orvanel::library {

std::string ReadForFrontEnd(std::string_view utf8);

}  // namespace orvanel::library
