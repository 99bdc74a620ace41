// The module's configuration file (orvanel.conf): "Key value" lines, '#' comments, values
// optionally in double quotes. Pure; unknown keys and bad lines are ignored.
#pragma once

#include <string>
#include <string_view>

namespace orvanel::speechd {

struct ModuleConfig {
  bool readingStage = true;  // OrvanelReadingStage 1|0
  bool prosody = true;       // OrvanelProsody 1|0
  std::string logFile;       // OrvanelLogFile "/path": empty, no log
};

ModuleConfig ParseModuleConfig(std::string_view text);

}  // namespace orvanel::speechd
