// The output module over a fake voice, for the conversation tests: every word of a text becomes
// one stretch of 100 samples per byte of the word, each sample 0x7D0A (both bytes need escaping),
// rendered in FAKE_STRETCH_MS milliseconds (default 5) with a cancel check after each.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "speechd/output_module.h"

int main() {
  using namespace orvanel;
  const char* ms = std::getenv("FAKE_STRETCH_MS");
  const auto stretchTime = std::chrono::milliseconds(ms != nullptr ? std::atoi(ms) : 5);
  speechd::ModuleServices services;
  services.speak = [stretchTime](std::string_view text, const library::VoiceSettings&,
                                 const library::StretchSink& sink,
                                 const library::CancelCheck& cancel) {
    std::vector<std::int16_t> samples;
    std::size_t number = 0;
    for (std::size_t i = 0; i < text.size();) {
      while (i < text.size() && text[i] == ' ') ++i;
      std::size_t end = i;
      while (end < text.size() && text[end] != ' ') ++end;
      if (end == i) break;
      std::this_thread::sleep_for(stretchTime);
      if (cancel && cancel(0, 1)) return library::Outcome::kCancelled;
      samples.assign(100 * (end - i), static_cast<std::int16_t>(0x7D0A));
      library::Stretch stretch;
      stretch.number = ++number;
      stretch.samples = samples.data();
      stretch.sampleCount = samples.size();
      stretch.textBegin = i;
      stretch.textEnd = end;
      if (!sink(stretch)) return library::Outcome::kSinkStopped;
      i = end;
    }
    return library::Outcome::kFinished;
  };
  if (std::getenv("FAKE_INIT_ERROR") != nullptr) services.initError = "no units";
  return speechd::RunModule(std::move(services), STDIN_FILENO, STDOUT_FILENO);
}
