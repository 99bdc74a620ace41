#include "library/reading_stage.h"

namespace orvanel::library {

std::string ReadForFrontEnd(std::string_view utf8, const reading::ReadingOptions& options) {
  return reading::ReadTurkish(utf8, options);
}

}  // namespace orvanel::library
