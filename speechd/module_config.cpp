// orvanel.conf lines.
#include "speechd/module_config.h"

#include <cctype>

namespace orvanel::speechd {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// A switch's value: 1, on, yes, true or 0, off, no, false; anything else leaves it as it is.
void SetSwitch(std::string_view value, bool& on) {
  const std::string v = Lower(value);
  if (v == "0" || v == "off" || v == "no" || v == "false") on = false;
  if (v == "1" || v == "on" || v == "yes" || v == "true") on = true;
}

}  // namespace

ModuleConfig ParseModuleConfig(std::string_view text) {
  ModuleConfig config;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    std::size_t space = 0;
    while (space < line.size() && !std::isspace(static_cast<unsigned char>(line[space]))) ++space;
    const std::string key = Lower(line.substr(0, space));
    std::string_view value = Trim(line.substr(space));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (key == "orvanelreadingstage") {
      SetSwitch(value, config.readingStage);
    } else if (key == "orvanelprosody") {
      SetSwitch(value, config.prosody);
    } else if (key == "orvanellogfile") {
      config.logFile = std::string(value);
    }
  }
  return config;
}

}  // namespace orvanel::speechd
