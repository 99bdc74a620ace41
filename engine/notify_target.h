// Where the engine reports the end of an utterance: it posts a message number with both
// parameters 0, together with how the utterance ended. The window turns it into an event on its
// own loop; the command line waits on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/synthesizer.h"

namespace orvanel::engine {

inline constexpr std::uint32_t kSpeechDoneMessage = 1026;

// How an utterance ended.
struct UtteranceResult {
  enum class Ending { kDone, kStopped, kFailed };
  Ending ending = Ending::kDone;
  // kFailed: what failed, in one line ("Cannot open wave device!", "Memory allocation error!").
  std::string failure;
  // Speech the literal reading could not hold, one entry per stretch that lost some.
  std::vector<library::DroppedSpeech> dropped;
};

class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  // Called on the worker thread; must not block.
  virtual void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Called on the worker thread at the end of every utterance, once the engine is idle again;
  // must not block. Targets that do not look at the result get the message alone.
  virtual void PostResult(std::uint32_t message, const UtteranceResult& /*result*/) {
    PostMessage(message, 0, 0);
  }
};

}  // namespace orvanel::engine
