#include "library/reading_stage.h"

namespace orvanel::library {

std::string ReadForFrontEnd(std::string_view utf8) { return std::string(utf8); }

}  // namespace orvanel::library
