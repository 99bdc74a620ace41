// The output module over a fake voice, for the conversation tests: every word of a text becomes
// one stretch of 100 samples per byte of the word, each sample 0x7D0A (both bytes need escaping),
// rendered in FAKE_STRETCH_MS milliseconds (default 5) with a cancel check after each, and handed
// out as one block or one stretch, as the delivery asks. With FAKE_SENTENCE_PAUSE set, a word
// that ends a sentence (with '.') is followed by a block of 50 silent samples, which a delivery
// that trims the final silence leaves out after the text's last word. FAKE_MESSAGE_GAP_MS sets
// the silence between messages that follow each other at once (default 0). The word "LOST" is a
// stretch that lost 1234 samples from its own place (line 1, its column), as the literal reading
// reports speech it could not hold; FAKE_LOG_FILE names the module's log.
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
  const bool sentencePause = std::getenv("FAKE_SENTENCE_PAUSE") != nullptr;
  services.speak = [stretchTime, sentencePause](
                       std::string_view text, const library::VoiceSettings&,
                       const library::Delivery& delivery, const library::CancelCheck& cancel) {
    std::vector<std::int16_t> samples;
    std::size_t number = 0;
    const std::size_t last = text.find_last_not_of(' ');
    for (std::size_t i = 0; i < text.size();) {
      while (i < text.size() && text[i] == ' ') ++i;
      std::size_t end = i;
      while (end < text.size() && text[end] != ' ') ++end;
      if (end == i) break;
      std::this_thread::sleep_for(stretchTime);
      if (cancel && cancel(0, 1)) return library::Outcome::kCancelled;
      samples.assign(100 * (end - i), static_cast<std::int16_t>(0x7D0A));
      library::Block block;
      block.stretch = ++number;
      block.samples = samples.data();
      block.sampleCount = samples.size();
      block.stretchEnd = true;
      const bool pause =
          sentencePause && text[end - 1] == '.' && !(delivery.trimFinalSilence && end == last + 1);
      if (delivery.block && !delivery.block(block)) return library::Outcome::kSinkStopped;
      if (pause && delivery.block) {
        const std::vector<std::int16_t> silence(50, 0);
        block.samples = silence.data();
        block.sampleCount = silence.size();
        if (!delivery.block(block)) return library::Outcome::kSinkStopped;
      }
      if (delivery.stretch) {
        library::Stretch stretch;
        stretch.number = number;
        stretch.samples = samples.data();
        stretch.sampleCount = samples.size();
        stretch.textBegin = i;
        stretch.textEnd = end;
        if (text.substr(i, end - i) == "LOST") stretch.dropped = {1234, 1, i + 1};
        if (!delivery.stretch(stretch)) return library::Outcome::kSinkStopped;
      }
      i = end;
    }
    return library::Outcome::kFinished;
  };
  if (std::getenv("FAKE_INIT_ERROR") != nullptr) services.initError = "no units";
  if (const char* log = std::getenv("FAKE_LOG_FILE")) services.logFile = log;
  const char* gap = std::getenv("FAKE_MESSAGE_GAP_MS");
  services.messageGapMs = gap != nullptr ? std::atof(gap) : 0;
  return speechd::RunModule(std::move(services), STDIN_FILENO, STDOUT_FILENO);
}
