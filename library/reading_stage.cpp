#include "library/reading_stage.h"

#include "reading/turkish_reading.h"

namespace orvanel::library {

std::string ReadForFrontEnd(std::string_view utf8) { return reading::ReadTurkish(utf8); }

}  // namespace orvanel::library
